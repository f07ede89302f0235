// SPDX-License-Identifier: GPL-3.0-or-later
// Which help page the help button opens: the Chinese one for readers of Simplified Chinese,
// where the working folder has it, else the page every other reader gets.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include "translations/translations.h"

namespace qir::translations {
namespace {

QString pageFor(const char* locale, const QSet<QString>& present) {
    return helpPage(QLocale(QString::fromLatin1(locale)),
                    [&](const QString& page) { return present.contains(page); });
}

TEST(HelpPage, ChineseForSimplifiedChineseReadersWhereThePageIsThere) {
    const QSet<QString> both{QStringLiteral("help.htm"), QStringLiteral("help_zh_CN.htm")};
    for (const char* locale : {"zh_CN", "zh_SG", "zh"}) {
        EXPECT_EQ(pageFor(locale, both), QStringLiteral("help_zh_CN.htm")) << locale;
    }
    // Traditional readers, and everyone else, get the page as it always was.
    for (const char* locale : {"zh_TW", "zh_HK", "en_US", "en_GB", "de_DE", "ja_JP", "C"}) {
        EXPECT_EQ(pageFor(locale, both), QStringLiteral("help.htm")) << locale;
    }
    // A working folder without the Chinese page (an older one) still has help.
    EXPECT_EQ(pageFor("zh_CN", {QStringLiteral("help.htm")}), QStringLiteral("help.htm"));
}

TEST(HelpPage, TheChineseTranslationServesTheSameReaders) {
    for (const char* locale : {"zh_CN", "zh_SG", "zh"}) {
        EXPECT_TRUE(simplifiedChinese(QLocale(QString::fromLatin1(locale)))) << locale;
    }
    for (const char* locale : {"zh_TW", "zh_HK", "en_US", "C"}) {
        EXPECT_FALSE(simplifiedChinese(QLocale(QString::fromLatin1(locale)))) << locale;
    }
}

QString page(const char* name) {
    QFile file(QStringLiteral(QIR_SOURCE_DIR "/app/assets/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The credits and licence notices (the Arphic, MIT and Unicode ones the data's licences ask
// for) travel with every help page, word for word.
TEST(HelpPage, TheChinesePageCarriesTheLicenceNoticesOfTheEnglishOne) {
    const QString english = page("help.htm");
    const QString chinese = page("help_zh_CN.htm");
    ASSERT_FALSE(english.isEmpty());
    ASSERT_FALSE(chinese.isEmpty());
    static const QRegularExpression notices(QStringLiteral("<div class=\"note\">.*?</div>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    const QString englishNotices = notices.match(english).captured();
    ASSERT_TRUE(englishNotices.contains(QStringLiteral("Arphic Public License")));
    ASSERT_TRUE(englishNotices.contains(QStringLiteral("Permission is hereby granted")));
    EXPECT_EQ(notices.match(chinese).captured(), englishNotices);
    EXPECT_TRUE(chinese.contains(QStringLiteral("<html lang=\"zh-CN\">")));
    // The page names the menu entries and modes as the translated window shows them.
    const Translations translations(QLocale(QStringLiteral("zh_CN")));
    ASSERT_TRUE(translations.ownLoaded());
    const std::pair<const char*, const char*> named[] = {
        {"qir::app::PracticeSheetActions", "Print practice sheet…"},
        {"qir::app::PracticeSheetActions", "Save practice sheet as PDF…"},
        {"qir::app::PracticeSheetActions", "Write it yourself…"},
        {"qir::app::PracticeSheetActions", "Show"},
        {"qir::practice_window::PracticeWindow", "Trace"},
        {"qir::practice_window::PracticeWindow", "Stroke by stroke"},
        {"qir::practice_window::PracticeWindow", "From memory"}};
    for (const auto& [context, source] : named) {
        const QString shown = QCoreApplication::translate(context, source);
        EXPECT_NE(shown, QString::fromUtf8(source));
        EXPECT_TRUE(chinese.contains(QStringLiteral("<b>%1</b>").arg(shown)))
            << source << " → " << shown.toStdString();
    }
    EXPECT_TRUE(chinese.contains(QString::fromUtf8("该字超出收字范围!")));
}

}  // namespace
}  // namespace qir::translations
