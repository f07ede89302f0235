#include "selection/key_filter.h"

#include <gtest/gtest.h>

namespace qir::selection {
namespace {

TEST(KeyFilter, RefusesEveryPrintableAsciiByteAndPassesTheRest) {
    for (int byte = 0; byte < 256; ++byte) {
        const bool printableAscii = byte >= 0x20 && byte <= 0x7E;
        EXPECT_EQ(passesKeyFilter(static_cast<unsigned char>(byte)), !printableAscii) << byte;
    }
}

TEST(KeyFilter, TypedTextKeepsWholeGb2312CharactersThatFit) {
    const QString yu = QString::fromUtf8("羽");
    FilteredText typed = filterTypedText(yu, 2);
    EXPECT_EQ(typed.accepted, yu);
    EXPECT_EQ(typed.refusals, 0);

    // A committed phrase: the first character fills the box, the rest do not fit.
    typed = filterTypedText(QString::fromUtf8("羽毛"), 2);
    EXPECT_EQ(typed.accepted, yu);
    EXPECT_EQ(typed.refusals, 0);

    typed = filterTypedText(yu, 1);
    EXPECT_TRUE(typed.accepted.isEmpty());
    EXPECT_EQ(typed.refusals, 0);

    // Full-width forms are GB2312 characters like any other.
    EXPECT_EQ(filterTypedText(QString::fromUtf8("％"), 2).accepted, QString::fromUtf8("％"));
}

TEST(KeyFilter, EachRefusedByteAndEachCharacterOutsideGb2312CountsOnce) {
    FilteredText typed = filterTypedText(QStringLiteral("%%"), 2);
    EXPECT_TRUE(typed.accepted.isEmpty());
    EXPECT_EQ(typed.refusals, 2);

    typed = filterTypedText(QString::fromUtf8("a羽 b"), 2);
    EXPECT_EQ(typed.accepted, QString::fromUtf8("羽"));
    EXPECT_EQ(typed.refusals, 3);

    typed = filterTypedText(QString::fromUtf8("한😀ß"), 2);
    EXPECT_TRUE(typed.accepted.isEmpty());
    EXPECT_EQ(typed.refusals, 3);
}

TEST(KeyFilter, ControlCharactersPassWithoutBecomingText) {
    const FilteredText typed = filterTypedText(QStringLiteral("\t\r\n\x1b\x7f"), 2);
    EXPECT_TRUE(typed.accepted.isEmpty());
    EXPECT_EQ(typed.refusals, 0);
}

TEST(KeyFilter, SizesCountGb2312Bytes) {
    EXPECT_EQ(gb2312Size(QString()), 0u);
    EXPECT_EQ(gb2312Size(QString::fromUtf8("羽a")), 3u);
    EXPECT_EQ(gb2312Size(QString::fromUtf8("한")), 2u);
}

}  // namespace
}  // namespace qir::selection
