// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gb2312.h"

#include <gtest/gtest.h>

namespace qir {
namespace {

TEST(Gb2312, RoundTripsChineseText) {
    const std::string bytes = "\xB8\xC3\xD7\xD6";  // 该字
    EXPECT_EQ(gb2312::toUnicode(bytes), QString::fromUtf8("该字"));
    EXPECT_EQ(gb2312::fromUnicode(QString::fromUtf8("该字")), bytes);
    EXPECT_EQ(gb2312::fromUnicode(QString::fromUtf8("1画")), std::string("1\xBB\xAD"));
}

TEST(Gb2312, ConvertsTheWholeChineseCodePageNotOnlyGb2312) {
    // Outside GB2312, inside CP936: both bytes high, or a second byte in the ASCII range.
    for (const auto& [text, bytes] : {std::pair{"囧", "\x87\xE5"}, std::pair{"丂", "\x81\x40"},
                                      std::pair{"亐", "\x81\x80"}, std::pair{"鎫", "\xE6\x7E"}}) {
        EXPECT_EQ(gb2312::fromUnicode(QString::fromUtf8(text)), std::string(bytes)) << text;
        EXPECT_EQ(gb2312::toUnicode(bytes), QString::fromUtf8(text)) << text;
    }
}

TEST(Gb2312, RefusesCharactersOutsideTheCodePage) {
    EXPECT_FALSE(gb2312::fromUnicode(QString::fromUtf8("𠀀")).has_value());
    EXPECT_FALSE(gb2312::fromUnicode(QString::fromUtf8("한")).has_value());
    EXPECT_FALSE(gb2312::fromUnicode(QString::fromUtf8("字한")).has_value());
    EXPECT_EQ(gb2312::fromUnicode(QString()), std::string());
}

TEST(Gb2312, InvalidBytesDecodeToReplacementCharacters) {
    const QString text = gb2312::toUnicode("\xFF\xD7\xD6\xB8");
    EXPECT_TRUE(text.contains(QChar(0xFFFD)));
    EXPECT_TRUE(text.contains(QString::fromUtf8("字")));
}

TEST(Gb2312, TrimDropsBytesAtOrBelowBlank) {
    EXPECT_EQ(gb2312::trimmed("\xD3\xF0 "), "\xD3\xF0");
    EXPECT_EQ(gb2312::trimmed("\t\x01 a b\r\n"), "a b");
    EXPECT_EQ(gb2312::trimmed("   "), "");
    EXPECT_EQ(gb2312::trimmed("\xA1\xA1"), "\xA1\xA1");  // the ideographic space is not a blank
}

TEST(Gb2312, OnlyOneTwoByteCharacterIsAHanzi) {
    for (const char* hanzi : {"\xD7\xD6", "\xD3\xF0 ", "\x87\xE5", "\x81\x80", "\xFE\xFE"}) {
        EXPECT_TRUE(gb2312::isHanzi(hanzi)) << hanzi;
    }
    // Empty, wildcards, ASCII trail bytes, a lone lead byte, two characters, other blanks.
    for (const char* other : {"", "%", "%%", "_", "\xD7%", "%\xD7", "\xD7_", "\x81\x40", "\xD7",
                              "ab", "\xD7\xD6\xD7\xD6", "\xD7\xD6  ", " \xD7\xD6", "\xD7\xD6\t",
                              "\xFF\xD6", "\xD7\xFF", "\x80\xA1"}) {
        EXPECT_FALSE(gb2312::isHanzi(other)) << other;
    }
}

TEST(Gb2312, OnlyTheChineseRowsOfGb2312AreItsHanzi) {
    // 啊, the first; 永; 齄, the last.
    for (const char* hanzi : {"\xB0\xA1", "\xD3\xC0", "\xF7\xFE"}) {
        EXPECT_TRUE(gb2312::isGb2312Hanzi(hanzi)) << hanzi;
    }
    // The code page's 癅 shares a lead byte with GB2312's rows; a full-width comma, 囧, the
    // blank a catalogue entry may carry, one byte, the code page's user area.
    for (const char* other : {"\xB0\x40", "\xB0\xA0", "\xA3\xAC", "\x87\xE5", "\xD3\xC0 ", "\xD3",
                              "\xF8\xA1", "\xAF\xFE"}) {
        EXPECT_FALSE(gb2312::isGb2312Hanzi(other)) << other;
    }
}

}  // namespace
}  // namespace qir
