// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text_functions.h"

#include <gtest/gtest.h>

#include "tests/store/store_fixtures.h"

namespace qir::store {
namespace {

using testing::kA;
using testing::kB;

TEST(TrimTest, DropsControlBytesAndBlanksAtBothEndsOnly) {
    EXPECT_EQ(trimmed(" \t" + kA + " \r\n"), kA);
    EXPECT_EQ(trimmed(kA + " " + kB), kA + " " + kB);
    EXPECT_EQ(trimmed(std::string("\x00\x20", 2)), "");
    EXPECT_EQ(trimmed(""), "");
    // 0x21 and the high bytes of GB2312 are kept.
    EXPECT_EQ(trimmed("!" + kA + "\xA1"), "!" + kA + "\xA1");
}

TEST(LikeTest, WildcardsStandForWholeCharacters) {
    EXPECT_TRUE(likeMatches("_", kA));
    EXPECT_TRUE(likeMatches("_", "a"));
    EXPECT_FALSE(likeMatches("_", "ab"));
    EXPECT_FALSE(likeMatches("__", kA)) << "a two-byte character is one character";
    EXPECT_TRUE(likeMatches("__", kA + "a"));
    EXPECT_TRUE(likeMatches("_" + kB, kA + kB));
    EXPECT_TRUE(likeMatches("%", ""));
    EXPECT_TRUE(likeMatches("%%", kA));
    EXPECT_FALSE(likeMatches("_", ""));
}

TEST(LikeTest, IsCaseSensitiveAndMatchesTheWholeValue) {
    EXPECT_TRUE(likeMatches("abc", "abc"));
    EXPECT_FALSE(likeMatches("abc", "ABC"));
    EXPECT_FALSE(likeMatches("ab", "abc"));
    EXPECT_FALSE(likeMatches("abc", "ab"));
    EXPECT_TRUE(likeMatches("", ""));
    EXPECT_FALSE(likeMatches("", "a"));
}

TEST(LikeTest, ContainsFindsCharactersNotStraddlingBytes) {
    EXPECT_TRUE(likeMatches("%" + kA + "%", kA));
    EXPECT_TRUE(likeMatches("%" + kA + "%", kA + "01"));
    EXPECT_TRUE(likeMatches("%" + kA + "%", "x" + kA + "y"));
    // The bytes B0 A1 appear in C1 B0 A1 A1, but as the tail of one character and the head of
    // the next.
    EXPECT_FALSE(likeMatches("%" + kA + "%", "\xC1\xB0\xA1\xA1"));
    EXPECT_FALSE(likeMatches("%\xB0%", kA)) << "half a character is no character";
}

TEST(LikeTest, WildcardBytesInsideACharacterAreLiteral) {
    // 0x5F ("_") as the second byte of a two-byte character.
    EXPECT_TRUE(likeMatches("\x81\x5F", "\x81\x5F"));
    EXPECT_FALSE(likeMatches("\x81\x5F", "\x81x"));
    // A lead byte at the very end counts as one character of its own.
    EXPECT_TRUE(likeMatches("a_", "a\xFF"));
    EXPECT_TRUE(likeMatches("%\xFF", kA + "\xFF"));
}

TEST(LikeTest, BacktrackingStaysCheap) {
    const std::string text(4000, 'a');
    const std::string pattern = std::string(40, '%') + "a" + std::string(40, '%') + "b";
    EXPECT_FALSE(likeMatches(pattern, text));
    EXPECT_TRUE(likeMatches("%a%a%a%", text));
}

}  // namespace
}  // namespace qir::store
