// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/character_set.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qir::tools {
namespace {

TEST(CharacterSet, CoversTheHanziOfGb2312InCodeOrder) {
    const auto all = allGb2312Hanzi();
    ASSERT_EQ(all.size(), 6763u);
    EXPECT_EQ(all.front().key, "\xB0\xA1");
    EXPECT_EQ(all.front().text, QString::fromUtf8("啊"));
    EXPECT_EQ(all.back().key, "\xF7\xFE");
    EXPECT_EQ(all.back().text, QString::fromUtf8("齄"));
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(),
                               [](const auto& a, const auto& b) { return a.key < b.key; }));
    // Row 55 ends after 0xD7F9.
    EXPECT_EQ(
        std::count_if(all.begin(), all.end(), [](const auto& c) { return c.key[0] == '\xD7'; }),
        89);
}

TEST(CharacterSet, ListsGivenCharactersInKeyOrderOnce) {
    const auto list = charactersFromText(QString::fromUtf8("永 我,一永"));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].text, QString::fromUtf8("我"));  // 0xCE 0xD2
    EXPECT_EQ(list[1].text, QString::fromUtf8("一"));  // 0xD2 0xBB
    EXPECT_EQ(list[2].text, QString::fromUtf8("永"));  // 0xD3 0xC0
    EXPECT_EQ(list[2].key, "\xD3\xC0");
}

TEST(CharacterSet, RefusesWhatIsNotAGb2312Hanzi) {
    for (const char* text : {"a", "永x", "們", "，", "😀"}) {
        EXPECT_THROW(charactersFromText(QString::fromUtf8(text)), CharacterListError) << text;
    }
}

}  // namespace
}  // namespace qir::tools
