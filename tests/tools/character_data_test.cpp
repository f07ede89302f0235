// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/character_data.h"

#include <gtest/gtest.h>

namespace qir::tools {
namespace {

TEST(CharacterData, ReadsOutlinesAndMediansPerStroke) {
    const CharacterData data = parseCharacterJson(
        R"({"strokes": ["M 0 0 L 10 0 L 10 10 Z", "M 1 1 Q 2 2 3 3 Z"],
            "medians": [[[0, 5], [10, 5]], [[2, 2]]]})");
    ASSERT_EQ(data.strokes.size(), 2u);
    EXPECT_EQ(data.strokes[0].outline.size(), 4u);
    EXPECT_EQ(data.strokes[0].median, (std::vector<PathPoint>{{0, 5}, {10, 5}}));
    EXPECT_EQ(data.strokes[1].outline[1].verb, PathVerb::QuadTo);
    EXPECT_EQ(data.strokes[1].median.size(), 1u);
}

TEST(CharacterData, RejectsUnusableFilesWithTheReason) {
    struct Case {
        const char* json;
        const char* message;
    };
    const Case cases[] = {
        {"", "the file is empty"},
        {"{\"strokes\": [", "malformed JSON at offset"},
        {"[1, 2]", "the JSON text is not an object"},
        {R"({"strokes": []})", "\"strokes\" or \"medians\" is missing or not a list"},
        {R"({"strokes": "M 0 0 Z", "medians": []})",
         "\"strokes\" or \"medians\" is missing or not a list"},
        {R"({"strokes": [], "medians": []})", "the character has no strokes"},
        {R"({"strokes": ["M 0 0 Z"], "medians": []})", "1 outlines but 0 medians"},
        {R"({"strokes": [7], "medians": [[[0, 0]]]})", "outline 1 is not a string"},
        {R"({"strokes": ["M 0 0 Z", "M 0 0 h 5"], "medians": [[[0, 0]], [[0, 0]]]})",
         "outline 2: unknown path command 'h' at offset 6"},
        {R"({"strokes": ["M 0 0 Z"], "medians": [[]]})", "median 1 has no points"},
        {R"({"strokes": ["M 0 0 Z"], "medians": [[[0, "a"]]]})",
         "median 1 has a point that is not a pair of numbers"},
        {R"({"strokes": ["M 0 0 Z"], "medians": [[[0, 1, 2]]]})",
         "median 1 has a point that is not a pair of numbers"},
    };
    for (const Case& c : cases) {
        try {
            parseCharacterJson(c.json);
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const StrokeDataError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << c.json << " gave: " << e.what();
        }
    }
}

}  // namespace
}  // namespace qir::tools
