// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/vector_record.h"

#include <gtest/gtest.h>

#include "store/vector_table.h"
#include "tests/tools/test_glyphs.h"
#include "tools/store_builder/character_builder.h"

namespace qir::tools {
namespace {

using store::OutlineVerb;

TEST(VectorRecord, KeepsEveryCommandAndMedianPointInStrokeOrder) {
    const CharacterData data = parseCharacterJson(R"({
      "strokes": ["M 1 2 Q 3 4 5 6.5 C 7 8 9 10 11 12 L 13 -14 Z", "M 100 100 L 200 200 Z"],
      "medians": [[[1, 2], [5, 6]], [[150, 150]]]
    })");
    const store::StrokeVectors& vectors = data;  // parsed into the program's own model
    ASSERT_EQ(vectors.strokes.size(), 2u);
    const store::VectorStroke& first = vectors.strokes[0];
    ASSERT_EQ(first.outline.size(), 5u);
    EXPECT_EQ(first.outline[0], (store::OutlineCommand{OutlineVerb::MoveTo, {{1, 2}}}));
    EXPECT_EQ(first.outline[1], (store::OutlineCommand{OutlineVerb::QuadTo, {{3, 4}, {5, 6.5}}}));
    EXPECT_EQ(first.outline[2],
              (store::OutlineCommand{OutlineVerb::CubicTo, {{7, 8}, {9, 10}, {11, 12}}}));
    EXPECT_EQ(first.outline[3], (store::OutlineCommand{OutlineVerb::LineTo, {{13, -14}}}));
    EXPECT_EQ(first.outline[4].verb, OutlineVerb::Close);
    EXPECT_EQ(first.median, (std::vector<store::VectorPoint>{{1, 2}, {5, 6}}));
    EXPECT_EQ(vectors.strokes[1].median, (std::vector<store::VectorPoint>{{150, 150}}));
}

// A correction of the stroke order reaches the vector table with the pictures: the row is
// made from the data the character is rendered from, not read again from the file.
TEST(VectorRecord, TheRowFollowsTheDataThePicturesAreRenderedFrom) {
    CharacterData data = testing::twoBars();
    std::swap(data.strokes[0], data.strokes[1]);
    const BuiltCharacter built = renderCharacter("\xB0\xA1", data);
    const store::StrokeVectors row = store::strokeVectorsOfRow(built.strokeVectors);
    EXPECT_EQ(row, data);
    EXPECT_EQ(row.strokes[0].median.front(), (store::VectorPoint{750, 800}));
    EXPECT_EQ(static_cast<int>(row.strokes.size()), built.strokeCount);
}

TEST(VectorRecord, TheNoticeKeepsTheStoresAndNamesTheEncoding) {
    const std::string notice = vectorTableNotice("Stroke data: hanzi-writer-data 2.0.1.");
    EXPECT_EQ(notice.rfind("Stroke data: hanzi-writer-data 2.0.1. ", 0), 0u);
    EXPECT_NE(notice.find("version 1 of the program's stroke vector encoding"), std::string::npos);
}

}  // namespace
}  // namespace qir::tools
