// SPDX-License-Identifier: GPL-3.0-or-later
// Which help page the help button opens: the Chinese one for readers of Simplified Chinese,
// where the working folder has it, else the page every other reader gets.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qir::translations
