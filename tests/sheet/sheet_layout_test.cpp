// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheet_layout.h"

#include <gtest/gtest.h>

#include <QPageLayout>
#include <map>

#include "sheet/practice_sheet.h"

namespace qir::sheet {
namespace {

QSizeF printableOf(Paper paper) {
    return sheetPageLayout(paper).paintRect(QPageLayout::Millimeter).size();
}

int rowsOf(const std::vector<SheetRow>& rows, RowKind kind) {
    return static_cast<int>(
        std::count_if(rows.begin(), rows.end(), [&](const SheetRow& r) { return r.kind == kind; }));
}

// What every plan must keep, whatever the characters: every row of every character placed
// once, in order, inside the page body, without overlapping.
void expectSound(const SheetPlan& plan, const std::vector<int>& strokeCounts) {
    std::map<int, int> rowsPlaced;
    int lastCharacter = -1;
    for (const SheetPage& page : plan.pages) {
        EXPECT_FALSE(page.blocks.empty());
        double bottom = 0;
        for (const PlacedBlock& block : page.blocks) {
            EXPECT_GE(block.character, lastCharacter);
            lastCharacter = block.character;
            for (const SheetRow& row : block.rows) {
                EXPECT_GE(row.top, bottom - 1e-9);
                bottom = row.top + row.height;
                EXPECT_LE(bottom, plan.metrics.bodyHeight + 1e-9);
                ++rowsPlaced[block.character];
            }
        }
    }
    ASSERT_EQ(rowsPlaced.size(), strokeCounts.size());
    for (std::size_t i = 0; i < strokeCounts.size(); ++i) {
        EXPECT_EQ(rowsPlaced[static_cast<int>(i)],
                  static_cast<int>(blockRows(plan.metrics, strokeCounts[i]).size()))
            << "character " << i;
    }
}

TEST(SheetLayout, BoxesOfTheChosenSizeStandCentredBesideTheRowsLabels) {
    for (Paper paper : {Paper::A4, Paper::Letter}) {
        const QSizeF printable = printableOf(paper);
        for (double box : {kSmallestBox, kUsualBox, kYoungChildrensBox, kLargestBox}) {
            const SheetMetrics metrics = metricsFor(printable, SheetOptions{.box = box});
            EXPECT_DOUBLE_EQ(metrics.cell, box);
            // As many as fit beside the labels' band, and no room for one more.
            const double room = printable.width() - 5.0;
            EXPECT_LE(metrics.columns * box, room + 1e-9);
            EXPECT_GT((metrics.columns + 1) * box, room);
            EXPECT_GE(metrics.left, 5.0);
            EXPECT_NEAR(metrics.left + metrics.columns * box + (metrics.left - 5.0),
                        printable.width(), 1e-9);
            EXPECT_NEAR(metrics.bodyHeight + metrics.footerHeight, printable.height(), 1e-9);
            const QRectF footer = footerRect(metrics);
            EXPECT_NEAR(footer.bottom(), printable.height(), 1e-9);
        }
    }
    EXPECT_EQ(metricsFor(printableOf(Paper::A4)).columns, 11);
    // A narrow page still gets six boxes to a row, smaller ones.
    const SheetMetrics narrow = metricsFor(QSizeF(60, 100));
    EXPECT_EQ(narrow.columns, 6);
    EXPECT_LE(narrow.left + 6 * narrow.cell, 60 + 1e-9);
}

TEST(SheetLayout, ATitleAndANameLineTakeTheirPlaceAboveTheBodyOnEveryPage) {
    const QSizeF printable = printableOf(Paper::A4);
    const SheetMetrics plain = metricsFor(printable);
    const SheetMetrics headed =
        metricsFor(printable, SheetOptions{.title = QStringLiteral("Week 3"), .nameLine = true});
    EXPECT_EQ(plain.bodyTop, 0);
    EXPECT_GT(headed.bodyTop, 0);
    EXPECT_NEAR(headed.bodyTop + headed.bodyHeight + headed.footerHeight, printable.height(), 1e-9);
    EXPECT_LE(nameLineRect(headed).bottom(), headed.bodyTop);
    EXPECT_GT(nameLineRect(headed).height(), 0);
    EXPECT_GT(titleRect(headed).height(), 0);
    const SheetRow first{RowKind::Header, 0, 0, 0, 0, headed.headerHeight};
    EXPECT_DOUBLE_EQ(headerCharacterRect(headed, first).top(), headed.bodyTop);
}

TEST(SheetLayout, TheChosenRowsFollowTheStepsAndFillingThePageGivesEachCharacterItsOwn) {
    const QSizeF printable = printableOf(Paper::A4);
    const SheetOptions chosen{.traceRows = 3, .buildRow = false, .copyRows = 0};
    const SheetMetrics metrics = metricsFor(printable, chosen);
    const std::vector<SheetRow> rows = blockRows(metrics, 5, chosen);
    EXPECT_EQ(rowsOf(rows, RowKind::Trace), 3);
    EXPECT_EQ(rowsOf(rows, RowKind::Build), 0);
    EXPECT_EQ(rowsOf(rows, RowKind::Copy), 0);

    const SheetOptions filling{.copyRows = 1, .fillPage = true};
    const SheetPlan plan = planSheet(printable, {5, 3, 23}, filling);
    ASSERT_EQ(plan.pages.size(), 3u);
    for (const SheetPage& page : plan.pages) {
        ASSERT_EQ(page.blocks.size(), 1u);
        const std::vector<SheetRow>& placed = page.blocks.front().rows;
        EXPECT_GT(rowsOf(placed, RowKind::Copy), 5);
        // Full: not one more box fits under the last row.
        const SheetRow& last = placed.back();
        EXPECT_LE(last.top + last.height, plan.metrics.bodyHeight + 1e-9);
        EXPECT_GT(last.top + last.height + plan.metrics.cell, plan.metrics.bodyHeight);
    }
}

TEST(SheetLayout, ABlockHasItsStepsTraceBuildAndCopyRowsCoveringEveryStrokeOnce) {
    const SheetMetrics metrics = metricsFor(printableOf(Paper::A4));
    const int columns = metrics.columns;
    for (int strokes : {1, 5, columns, columns + 1, 2 * columns, 30}) {
        const std::vector<SheetRow> rows = blockRows(metrics, strokes);
        const int lines = (strokes + columns - 1) / columns;
        EXPECT_EQ(rows.front().kind, RowKind::Header);
        EXPECT_EQ(rowsOf(rows, RowKind::Steps), lines) << strokes;
        EXPECT_EQ(rowsOf(rows, RowKind::Trace), 1);
        EXPECT_EQ(rowsOf(rows, RowKind::Build), lines) << strokes;
        EXPECT_EQ(rowsOf(rows, RowKind::Copy), 2);
        for (RowKind kind : {RowKind::Steps, RowKind::Build}) {
            int next = 0;
            for (const SheetRow& row : rows) {
                if (row.kind == kind) {
                    EXPECT_EQ(row.firstStroke, next);
                    EXPECT_GE(row.boxes, 1);
                    EXPECT_LE(row.boxes, metrics.columns);
                    next += row.boxes;
                }
            }
            EXPECT_EQ(next, strokes) << strokes;
        }
        // The rows run top to bottom in the order above.
        for (std::size_t i = 1; i < rows.size(); ++i) {
            EXPECT_LE(static_cast<int>(rows[i - 1].kind), static_cast<int>(rows[i].kind));
            EXPECT_NEAR(rows[i].top, rows[i - 1].top + rows[i - 1].height + rows[i].gapBefore,
                        1e-9);
        }
    }
}

TEST(SheetLayout, TwoCommonCharactersShareAPageOnA4AndOnLetter) {
    for (Paper paper : {Paper::A4, Paper::Letter}) {
        const SheetMetrics metrics = metricsFor(printableOf(paper));
        const int most = metrics.columns;  // one line of steps each
        const SheetPlan plan = planSheet(printableOf(paper), {most, most, most, most, 3});
        ASSERT_EQ(plan.pages.size(), 3u);
        EXPECT_EQ(plan.pages[0].blocks.size(), 2u);
        EXPECT_EQ(plan.pages[1].blocks.size(), 2u);
        EXPECT_EQ(plan.pages[2].blocks.size(), 1u);
        // The second character starts below the first, a gap apart.
        const PlacedBlock& first = plan.pages[0].blocks[0];
        const PlacedBlock& second = plan.pages[0].blocks[1];
        EXPECT_NEAR(second.rows.front().top,
                    first.rows.back().top + first.rows.back().height + metrics.blockGap, 1e-9);
        expectSound(plan, {most, most, most, most, 3});
    }
}

TEST(SheetLayout, ACharacterThatDoesNotFitBelowAnotherStartsANewPageWhole) {
    const std::vector<int> strokes{5, 23, 7};
    const SheetPlan plan = planSheet(printableOf(Paper::A4), strokes);
    ASSERT_EQ(plan.pages.size(), 3u);
    for (std::size_t page = 0; page < 3; ++page) {
        ASSERT_EQ(plan.pages[page].blocks.size(), 1u);
        EXPECT_EQ(plan.pages[page].blocks[0].character, static_cast<int>(page));
        EXPECT_EQ(plan.pages[page].blocks[0].rows.front().top, 0);
    }
    expectSound(plan, strokes);
}

TEST(SheetLayout, ManyCharactersOfEveryStrokeCountAllFindTheirPlace) {
    std::vector<int> strokes;
    for (int i = 0; i < 200; ++i) {
        strokes.push_back(1 + (i * 7) % 30);
    }
    for (Paper paper : {Paper::A4, Paper::Letter}) {
        const SheetPlan plan = planSheet(printableOf(paper), strokes);
        expectSound(plan, strokes);
        // No block that fits on a page is split.
        std::map<int, int> pagesOf;
        for (const SheetPage& page : plan.pages) {
            for (const PlacedBlock& block : page.blocks) {
                ++pagesOf[block.character];
            }
        }
        for (const auto& [character, pages] : pagesOf) {
            EXPECT_EQ(pages, 1) << character;
        }
    }
}

TEST(SheetLayout, ABlockTallerThanAPageBreaksBetweenRowsKeepingTheHeaderWithItsSteps) {
    // A wide, low page: the rows of a 30-stroke character do not fit on one.
    const QSizeF across(277, 120);
    const std::vector<int> strokes{3, 30, 2};
    const SheetPlan plan = planSheet(across, strokes);
    expectSound(plan, strokes);
    int pagesOfLong = 0;
    for (const SheetPage& page : plan.pages) {
        for (const PlacedBlock& block : page.blocks) {
            if (block.character != 1) {
                continue;
            }
            ++pagesOfLong;
            if (block.rows.back().kind == RowKind::Header) {
                ADD_FAILURE() << "a header ends a page";
            }
            EXPECT_EQ(block.rows.front().top, 0);  // it starts a page of its own
        }
    }
    EXPECT_GE(pagesOfLong, 2);
}

}  // namespace
}  // namespace qir::sheet
