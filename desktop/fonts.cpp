// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/fonts.h"

#include <QApplication>
#include <QFontInfo>
#include <QString>
#include <QStringList>

namespace qir {
namespace {

QString kaitiFamily() {
    return QString::fromUtf8("楷体_GB2312");
}

void substituteKaiti() {
    QFont::insertSubstitutions(kaitiFamily(), QStringList{QStringLiteral("AR PL KaitiM GB"),
                                                          QStringLiteral("AR PL UKai CN")});
}

// Fontconfig answers "Sans Serif" under a Chinese locale with the first Chinese font it
// knows, which may well be a Kai font: then every menu, tooltip and dialog, Latin letters
// and all, would be written with a brush.
bool isKaiFamily(const QString& family) {
    return family.contains(QLatin1String("Kai"), Qt::CaseInsensitive) ||
           family.contains(QString::fromUtf8("楷"));
}

// The interface's Latin text in a plain sans, its Chinese in a Hei (sans) font where one is
// installed; only where none is does the system's own fallback draw it.
QFont plainInterfaceFont(QFont font) {
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Source Han Sans SC"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Droid Sans Fallback")});
    return font;
}

void keepKaiOffTheInterface() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return;  // no widgets: nothing but the program's own painting
    }
    if (isKaiFamily(QFontInfo(QApplication::font()).family())) {
        QApplication::setFont(plainInterfaceFont(QApplication::font()));
    }
    // The desktop may give menus and tooltips fonts of their own.
    for (const char* kind :
         {"QMenu", "QMenuBar", "QTipLabel", "QMessageBox", "QLabel", "QPushButton", "QComboBox",
          "QLineEdit", "QTreeView", "QListView", "QHeaderView"}) {
        const QFont font = QApplication::font(kind);
        if (isKaiFamily(QFontInfo(font).family())) {
            QApplication::setFont(plainInterfaceFont(font), kind);
        }
    }
}

}  // namespace

void installFontSubstitutions() {
    QFont::insertSubstitutions(
        QStringLiteral("MS Sans Serif"),
        QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Nimbus Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("MS Serif"),
        QStringList{QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif")});
    substituteKaiti();
    keepKaiOffTheInterface();
}

QFont kaitiFont() {
    if (!QFont::substitutes(kaitiFamily()).contains(QStringLiteral("AR PL KaitiM GB"))) {
        substituteKaiti();
    }
    QFont font(kaitiFamily());
    font.setPixelSize(15);
    font.setStyleStrategy(QFont::PreferMatch);
    return font;
}

}  // namespace qir
