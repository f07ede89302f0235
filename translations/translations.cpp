// SPDX-License-Identifier: GPL-3.0-or-later
#include "translations/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

// The translations are embedded in a static library, whose resource initialiser the linker
// would otherwise drop.
static void initialiseEmbeddedTranslations() {
    Q_INIT_RESOURCE(qir_translations);
}

namespace qir::translations {

QString qtTranslationsFolder() {
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool simplifiedChinese(const QLocale& locale) {
    // The mainland and Singapore write Simplified characters; Taiwan, Hong Kong and Macao
    // Traditional ones, which the Chinese translation is not.
    return locale.language() == QLocale::Chinese &&
           locale.script() != QLocale::TraditionalHanScript;
}

Translations::Translations(const QLocale& locale, const QString& qtFolder) {
    initialiseEmbeddedTranslations();
    const QString folder = qtFolder.isEmpty() ? qtTranslationsFolder() : qtFolder;
    const QString own = QString::fromLatin1(kBaseName);
    const QString qt = QStringLiteral("qtbase");
    if (simplifiedChinese(locale)) {
        // Whatever the territory (zh_SG too), the one Simplified Chinese translation.
        ownLoaded_ = own_.load(own + QStringLiteral("_zh_CN"), QString::fromLatin1(kFolder));
        qtLoaded_ = qt_.load(qt + QStringLiteral("_zh_CN"), folder);
    } else {
        // English needs its file too: it holds the plural forms of the counted texts.
        ownLoaded_ = own_.load(locale, own, QStringLiteral("_"), QString::fromLatin1(kFolder));
        qtLoaded_ = qt_.load(locale, qt, QStringLiteral("_"), folder);
    }
    if (ownLoaded_) {
        QCoreApplication::installTranslator(&own_);
    }
    if (qtLoaded_) {
        QCoreApplication::installTranslator(&qt_);
    }
}

Translations::~Translations() {
    QCoreApplication::removeTranslator(&qt_);
    QCoreApplication::removeTranslator(&own_);
}

QString helpPage(const QLocale& locale, const std::function<bool(const QString&)>& exists) {
    const QString chinese = QStringLiteral("help_zh_CN.htm");
    return simplifiedChinese(locale) && exists(chinese) ? chinese : QStringLiteral("help.htm");
}

}  // namespace qir::translations
