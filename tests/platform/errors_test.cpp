// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/errors.h"

#include <gtest/gtest.h>

namespace qir {
namespace {

TEST(ErrorText, FullStopOnlyAfterCharactersSortingAfterDot) {
    EXPECT_EQ(withFullStop("Cannot open file exityellow.bmp"), "Cannot open file exityellow.bmp.");
    EXPECT_EQ(withFullStop("Stream read error"), "Stream read error.");
    EXPECT_EQ(withFullStop("Done."), "Done.");
    EXPECT_EQ(withFullStop("Wow!"), "Wow!");
    EXPECT_EQ(withFullStop("(a)"), "(a)");
    // The last-resort box's rule looks only for a full stop.
    EXPECT_EQ(endingInFullStop("Wow!"), "Wow!.");
    EXPECT_EQ(endingInFullStop("Done."), "Done.");
    EXPECT_EQ(endingInFullStop(""), ".");
    EXPECT_EQ(withFullStop("code 7"), "code 7.");  // '7' sorts after '.'
    EXPECT_EQ(withFullStop("a-"), "a-");           // '-' sorts before '.'
    EXPECT_EQ(withFullStop(""), "");
    EXPECT_EQ(withFullStop("\xD7\xD6"), "\xD7\xD6.");  // high bytes sort after '.'
}

TEST(ErrorText, ClassesCarryTheirTextsAndKinds) {
    EXPECT_STREQ(FileOpenError("tmp.jpg").what(), "Cannot open file tmp.jpg");
    EXPECT_STREQ(FileCreateError("tmp1.avi").what(), "Cannot create file tmp1.avi");
    EXPECT_STREQ(StreamReadError().what(), "Stream read error");
    EXPECT_STREQ(StreamWriteError().what(), "Stream write error");
    EXPECT_STREQ(InvalidGraphicError().what(), "Bitmap image is not valid");
    EXPECT_EQ(FileOpenError("x").kind(), "EFOpenError");
    EXPECT_EQ(formatMessage("JPEG error #%d", "53"), "JPEG error #53");
}

}  // namespace
}  // namespace qir
