// SPDX-License-Identifier: GPL-3.0-or-later
// The start marks of every character of the built store's vector table, in the header's
// overview and in every step: no mark covers another's number, and fewer marks lie on written
// strokes or hide their own stroke than the plain rule left. QIR_STORE_DIR points elsewhere.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/gb2312.h"
#include "sheet/mark_survey.h"
#include "store/vector_table.h"

namespace qir::sheet {
namespace {

std::filesystem::path storeFolder() {
    const char* store = std::getenv("QIR_STORE_DIR");
    return store != nullptr ? std::filesystem::path(store)
                            : std::filesystem::path(QIR_DEFAULT_STORE_DIR);
}

TEST(MarkCheck, NoMarkOfAnyCharacterCoversAnothersNumber) {
    store::VectorTable table(storeFolder());
    int characters = 0;
    MarkSurvey plain;
    MarkSurvey placed;
    std::string covered;
    for (int high = 0xB0; high <= 0xF7; ++high) {
        for (int low = 0xA1; low <= 0xFE; ++low) {
            const std::string bytes{static_cast<char>(high), static_cast<char>(low)};
            if (!gb2312::isGb2312Hanzi(bytes)) {
                continue;
            }
            // The few unassigned codes of the range find nothing; the count below sees that
            // every character is there.
            const auto strokes = table.find(bytes);
            if (!strokes) {
                continue;
            }
            const geometry::DrawnStrokes glyph = geometry::drawnStrokes(*strokes);
            ++characters;
            plain += surveyMarks(glyph, MarkRule::Plain);
            const MarkSurvey survey = surveyMarks(glyph, MarkRule::Placed);
            if (survey.overview.coveredNumbers > 0 && covered.size() < 200) {
                covered += gb2312::toUnicode(bytes).toStdString();
            }
            placed += survey;
        }
    }
    EXPECT_EQ(characters, 6763);
    EXPECT_EQ(placed.overview.coveredNumbers, 0) << covered;
    EXPECT_GT(plain.overview.coveredNumbers, 0);  // the check sees what it looks for
    EXPECT_LT(placed.overview.onWrittenInk, plain.overview.onWrittenInk);
    EXPECT_LT(placed.steps.onWrittenInk, plain.steps.onWrittenInk);
    EXPECT_LE(placed.overview.hidingOwnStroke, plain.overview.hidingOwnStroke);
    EXPECT_LT(placed.steps.hidingOwnStroke, plain.steps.hidingOwnStroke);
}

}  // namespace
}  // namespace qir::sheet
