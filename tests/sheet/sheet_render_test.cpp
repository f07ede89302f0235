// SPDX-License-Identifier: GPL-3.0-or-later
// Sheets written to PDF and read back with poppler's tools: pages, text, and where the ink is.
#include <gtest/gtest.h>

#include <QPageLayout>
#include <cmath>

#include "platform/errors.h"
#include "sheet/practice_sheet.h"
#include "sheet/sheet_layout.h"
#include "sheet/sheet_options.h"
#include "tests/sheet/poppler.h"
#include "tests/sheet/test_strokes.h"
#include "tests/support/scratch_directory.h"

namespace qir::sheet {
namespace {

namespace fs = std::filesystem;
using testing::barAndBeam;

constexpr int kDpi = 100;
constexpr double kMargin = 10;  // the sheet's margins, in millimetres

// A character of `strokes` strokes: thin bars side by side.
store::StrokeVectors bars(int strokes) {
    store::StrokeVectors vectors;
    for (int i = 0; i < strokes; ++i) {
        const double left = 20 + i * 32;
        vectors.strokes.push_back(
            testing::rectangleStroke(left, left + 20, 0, 800, {left + 10, 790}, {left + 10, 10}));
    }
    return vectors;
}

QSizeF printableOf(Paper paper) {
    return sheetPageLayout(paper).paintRect(QPageLayout::Millimeter).size();
}

// Where a point of the data lands on the page picture, in a box of the plan: the data's
// 1024-unit box, y up with its baseline at 900, fills the box but for 6% on each edge.
QPoint pixelOf(const QRectF& box, store::VectorPoint point, int dpi = kDpi) {
    const double inset = box.width() * 0.06;
    const double scale = (box.width() - 2 * inset) / 1024;
    const double x = kMargin + box.left() + inset + point.x * scale;
    const double y = kMargin + box.top() + inset + (900 - point.y) * scale;
    return {static_cast<int>(std::lround(x * dpi / 25.4)),
            static_cast<int>(std::lround(y * dpi / 25.4))};
}

bool isRed(QColor c) {
    return c.red() > 170 && c.green() < 90 && c.blue() < 90;
}
bool isBlack(QColor c) {
    return c.red() < 70 && c.green() < 70 && c.blue() < 70;
}
bool isWhite(QColor c) {
    return c.red() > 245 && c.green() > 245 && c.blue() > 245;
}
// The strokes still to come: a very light grey.
bool isPending(QColor c) {
    return c.red() > 212 && c.red() <= 245 && std::abs(c.red() - c.blue()) < 8;
}
// The strokes to trace: a mid-light grey.
bool isTraceGrey(QColor c) {
    return c.red() >= 165 && c.red() <= 212 && std::abs(c.red() - c.blue()) < 8;
}
bool isMarkBlue(QColor c) {
    return c.blue() > 120 && c.red() < 90 && c.blue() > c.green() + 40;
}

// Blue pixels within `radius` millimetres of `centre`.
int bluePixelsNear(const QImage& page, QPoint centre, double radius) {
    const int r = static_cast<int>(std::ceil(radius * kDpi / 25.4));
    int found = 0;
    for (int y = centre.y() - r; y <= centre.y() + r; ++y) {
        for (int x = centre.x() - r; x <= centre.x() + r; ++x) {
            if (page.rect().contains(x, y) && isMarkBlue(page.pixelColor(x, y))) {
                ++found;
            }
        }
    }
    return found;
}

const SheetRow& rowOf(const PlacedBlock& block, RowKind kind, int index = 0) {
    for (const SheetRow& row : block.rows) {
        if (row.kind == kind && index-- == 0) {
            return row;
        }
    }
    throw std::runtime_error("no such row");
}

class SheetRendering : public ::testing::Test {
  protected:
    qir::testing::ScratchDirectory scratch;
    const fs::path pdf = scratch.path() / "sheet.pdf";
};

TEST_F(SheetRendering, A4AndLetterPagesCarryTheHeaderAndTheFooter) {
    const std::vector<SheetCharacter> one{{QStringLiteral("永"), barAndBeam()}};
    EXPECT_EQ(writePracticeSheetPdf(pdf, one, SheetOptions{.paper = Paper::A4},
                                    AtomicFile::Existing::Refuse),
              1);
    const testing::PdfInfo a4 = testing::pdfInfo(pdf);
    EXPECT_EQ(a4.pages, 1);
    EXPECT_TRUE(a4.pageSize.startsWith(QStringLiteral("595"))) << a4.pageSize.toStdString();
    EXPECT_TRUE(a4.pageSize.endsWith(QStringLiteral("(A4)"))) << a4.pageSize.toStdString();
    EXPECT_EQ(a4.title, QStringLiteral("Practice sheet: 永"));
    const QString text = testing::pdfText(pdf);
    for (const QString& expected :
         {QStringLiteral("永"), QStringLiteral("2 strokes"),
          QStringLiteral("QIR Demonstration of stroke order"),
          QStringLiteral("Stroke data from Make Me a Hanzi / hanzi-writer-data, under the Arphic "
                         "Public License"),
          QStringLiteral("Page 1 of 1")}) {
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    }

    EXPECT_EQ(writePracticeSheetPdf(pdf, one, SheetOptions{.paper = Paper::Letter},
                                    AtomicFile::Existing::Replace),
              1);
    EXPECT_EQ(testing::pdfInfo(pdf).pageSize, QStringLiteral("612 x 792 pts (letter)"));
}

TEST_F(SheetRendering, TheHeaderCarriesTheReadingsTheRadicalAndTheGlossWhenKnown) {
    store::CharacterFacts xing;
    xing.readings = {"xíng", "háng", "hàng"};
    xing.gloss = "go; walk; move (about)";
    xing.radical = "行";
    xing.radicalNumber = 144;
    xing.remainingStrokes = 0;
    xing.totalStrokes = 6;
    store::CharacterFacts chang;
    chang.radical = "长";  // only the radical: no readings, no gloss
    const std::vector<SheetCharacter> characters{{QStringLiteral("行"), barAndBeam(), xing},
                                                 {QStringLiteral("长"), barAndBeam(), chang},
                                                 {QStringLiteral("永"), barAndBeam()}};
    writePracticeSheetPdf(pdf, characters, SheetOptions{.paper = Paper::A4},
                          AtomicFile::Existing::Refuse);
    const QString text = testing::pdfText(pdf);
    for (const QString& expected :
         {QStringLiteral("xíng, háng, hàng"), QStringLiteral("部首 行"),
          QStringLiteral("go; walk; move (about)"), QStringLiteral("部首 长")}) {
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n"
                                             << text.toStdString();
    }
    // The main reading stands once more on its own, large, above the character.
    EXPECT_EQ(text.count(QStringLiteral("xíng")), 2) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("部首")), 2);
}

TEST_F(SheetRendering, SeveralCharactersFlowOntoThePagesOfThePlanInOrder) {
    const std::vector<int> strokeCounts{2, 13, 1, 30, 2, 2, 5};
    std::vector<SheetCharacter> characters;
    for (int strokes : strokeCounts) {
        characters.push_back({QStringLiteral("永"), bars(strokes)});
    }
    const int pages = writePracticeSheetPdf(pdf, characters, SheetOptions{.paper = Paper::A4},
                                            AtomicFile::Existing::Refuse);
    const SheetPlan plan = planSheet(printableOf(Paper::A4), strokeCounts);
    ASSERT_EQ(pages, static_cast<int>(plan.pages.size()));
    EXPECT_EQ(testing::pdfInfo(pdf).pages, pages);
    for (int page = 1; page <= pages; ++page) {
        const QString text = testing::pdfText(pdf, page);
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages)));
        // Each header on the page, in the plan's order.
        qsizetype from = 0;
        for (const PlacedBlock& block : plan.pages[static_cast<std::size_t>(page - 1)].blocks) {
            if (block.rows.front().kind != RowKind::Header) {
                continue;
            }
            const int strokes = strokeCounts[static_cast<std::size_t>(block.character)];
            const QString header = strokes == 1 ? QStringLiteral("1 stroke\n")
                                                : QStringLiteral("%1 strokes").arg(strokes);
            const qsizetype at = text.indexOf(header, from);
            EXPECT_GE(at, 0) << "page " << page << ": " << header.toStdString();
            from = at;
        }
    }
}

TEST_F(SheetRendering, TheInkStandsWhereTheOutlinesSayInTheColourOfEachRow) {
    writePracticeSheetPdf(pdf, {{QStringLiteral("永"), barAndBeam()}},
                          SheetOptions{.paper = Paper::A4}, AtomicFile::Existing::Refuse);
    const QImage page = testing::pdfPage(pdf, 1, kDpi);
    ASSERT_EQ(page.width(), std::lround(210 / 25.4 * kDpi));
    const SheetPlan plan = planSheet(printableOf(Paper::A4), {2});
    const SheetMetrics& m = plan.metrics;
    const PlacedBlock& block = plan.pages.at(0).blocks.at(0);

    const store::VectorPoint bar{200, 300};    // inside stroke 1, away from its start
    const store::VectorPoint beam{820, 700};   // inside stroke 2, away from its start
    const store::VectorPoint blank{700, 200};  // in neither, off the guide's lines
    const auto colourAt = [&](const SheetRow& row, int box, store::VectorPoint point) {
        return page.pixelColor(pixelOf(boxRect(m, row, box), point));
    };

    const SheetRow& steps = rowOf(block, RowKind::Steps);
    EXPECT_TRUE(isRed(colourAt(steps, 0, bar))) << colourAt(steps, 0, bar).name().toStdString();
    EXPECT_TRUE(isPending(colourAt(steps, 0, beam)));
    EXPECT_TRUE(isWhite(colourAt(steps, 0, blank)));
    EXPECT_TRUE(isBlack(colourAt(steps, 1, bar)));
    EXPECT_TRUE(isRed(colourAt(steps, 1, beam)));
    EXPECT_TRUE(isWhite(colourAt(steps, 1, blank)));
    EXPECT_TRUE(isWhite(colourAt(steps, 2, bar)));  // two strokes, two steps

    // Each step marks where its new stroke starts.
    const double markRadius = 0.1 * m.cell;
    EXPECT_GT(bluePixelsNear(page, pixelOf(boxRect(m, steps, 0), {200, 780}), 2.5 * markRadius),
              10);
    EXPECT_GT(bluePixelsNear(page, pixelOf(boxRect(m, steps, 1), {520, 700}), 2.5 * markRadius),
              10);
    EXPECT_EQ(bluePixelsNear(page, pixelOf(boxRect(m, steps, 1), {880, 700}), markRadius), 0);

    const SheetRow& header = rowOf(block, RowKind::Header);
    const QRectF overview = headerOverviewRect(m, header);
    EXPECT_TRUE(isBlack(page.pixelColor(pixelOf(overview, bar))));
    EXPECT_TRUE(isBlack(page.pixelColor(pixelOf(overview, beam))));
    EXPECT_TRUE(isWhite(page.pixelColor(pixelOf(overview, blank))));

    const SheetRow& trace = rowOf(block, RowKind::Trace);
    for (int box : {0, m.columns - 1}) {
        EXPECT_TRUE(isTraceGrey(colourAt(trace, box, bar))) << box;
        EXPECT_TRUE(isTraceGrey(colourAt(trace, box, beam))) << box;
        EXPECT_TRUE(isWhite(colourAt(trace, box, blank))) << box;
    }
    const SheetRow& build = rowOf(block, RowKind::Build);
    EXPECT_TRUE(isTraceGrey(colourAt(build, 0, bar)));
    EXPECT_TRUE(isWhite(colourAt(build, 0, beam)));
    EXPECT_TRUE(isTraceGrey(colourAt(build, 1, bar)));
    EXPECT_TRUE(isTraceGrey(colourAt(build, 1, beam)));
    EXPECT_TRUE(isWhite(colourAt(build, 2, bar)));
    for (int copy : {0, 1}) {
        const SheetRow& row = rowOf(block, RowKind::Copy, copy);
        EXPECT_TRUE(isWhite(colourAt(row, 0, bar)));
        EXPECT_TRUE(isWhite(colourAt(row, 5, beam)));
    }
    // Below the block, the page is empty down to the footer.
    const double below = kMargin + block.rows.back().top + block.rows.back().height + 5;
    EXPECT_TRUE(isWhite(page.pixelColor(page.width() / 2, std::lround(below * kDpi / 25.4))));
}

// A black-and-white copy: the new stroke stands apart from the written ones and is edged
// dark; the greys carry no colour a colour printer would mix in.
TEST_F(SheetRendering, ABlackAndWhiteCopyTellsTheNewStrokeFromTheWrittenOnes) {
    writePracticeSheetPdf(pdf, {{QStringLiteral("永"), barAndBeam()}},
                          SheetOptions{.paper = Paper::A4}, AtomicFile::Existing::Refuse);
    constexpr int dpi = 300;
    const QImage colour = testing::pdfPage(pdf, 1, dpi);
    const QImage grey = colour.convertToFormat(QImage::Format_Grayscale8);
    const SheetPlan plan = planSheet(printableOf(Paper::A4), {2});
    const SheetMetrics& m = plan.metrics;
    const PlacedBlock& block = plan.pages.at(0).blocks.at(0);
    const QRectF second = boxRect(m, rowOf(block, RowKind::Steps), 1);
    const auto greyAt = [&](const QRectF& box, store::VectorPoint point) {
        return qGray(grey.pixel(pixelOf(box, point, dpi)));
    };

    const int written = greyAt(second, {200, 300});  // the bar, written in step 1
    const int fresh = greyAt(second, {820, 700});    // the beam, new in step 2
    EXPECT_GE(fresh - written, 80) << "new " << fresh << ", written " << written;
    // Across the beam's lower edge (data y 600) the copy shows a dark line around the stroke.
    int darkest = 255;
    for (double y = 560; y <= 640; y += 2) {
        darkest = std::min(darkest, greyAt(second, {820, y}));
    }
    EXPECT_LE(darkest, fresh - 40) << "new " << fresh << ", its edge " << darkest;

    const auto pureGrey = [&](const QRectF& box, store::VectorPoint point) {
        const QColor c = colour.pixelColor(pixelOf(box, point, dpi));
        return c.red() == c.green() && c.green() == c.blue() && c.red() < 250;
    };
    EXPECT_TRUE(pureGrey(boxRect(m, rowOf(block, RowKind::Trace), 0), {200, 300}));
    EXPECT_TRUE(pureGrey(boxRect(m, rowOf(block, RowKind::Steps), 0), {820, 700}));  // to come
    // The box's frame, on its left edge half-way down.
    const QRectF frame = boxRect(m, rowOf(block, RowKind::Copy), 0);
    const QColor edge = colour.pixelColor(
        static_cast<int>(std::lround((kMargin + frame.left()) * dpi / 25.4)),
        static_cast<int>(std::lround((kMargin + frame.center().y()) * dpi / 25.4)));
    EXPECT_EQ(edge.red(), edge.green());
    EXPECT_EQ(edge.green(), edge.blue());
}

// The guide's ink along a line through a copy box, from share `from` to `to` of its side.
int guideInkAlong(const QImage& page, const QRectF& box, QPointF from, QPointF to) {
    int ink = 0;
    constexpr int kSamples = 60;
    for (int i = 0; i <= kSamples; ++i) {
        const QPointF share = from + (to - from) * (static_cast<double>(i) / kSamples);
        const QPointF mm(kMargin + box.left() + share.x() * box.width(),
                         kMargin + box.top() + share.y() * box.height());
        const QPoint pixel(static_cast<int>(std::lround(mm.x() * 300 / 25.4)),
                           static_cast<int>(std::lround(mm.y() * 300 / 25.4)));
        // The PDF's margins come out in whole points: a line may stand a fraction of a
        // millimetre from where the plan says.
        bool inked = false;
        for (int dy = -3; dy <= 3; ++dy) {
            for (int dx = -3; dx <= 3; ++dx) {
                inked = inked || !isWhite(page.pixelColor(pixel + QPoint(dx, dy)));
            }
        }
        ink += inked ? 1 : 0;
    }
    return ink;
}

TEST_F(SheetRendering, EachGridDrawsItsOwnLinesInTheBoxes) {
    const std::vector<SheetCharacter> one{{QStringLiteral("永"), barAndBeam()}};
    struct Lines {
        int diagonal, third, middle;
    };
    const auto linesOf = [&](Grid grid) {
        const SheetOptions options{.paper = Paper::A4, .grid = grid};
        fs::remove(pdf);
        writePracticeSheetPdf(pdf, one, options, AtomicFile::Existing::Refuse);
        const QImage page = testing::pdfPage(pdf, 1, 300);
        const SheetPlan plan = planSheet(printableOf(Paper::A4), {2}, options);
        const QRectF box =
            boxRect(plan.metrics, rowOf(plan.pages.at(0).blocks.at(0), RowKind::Copy), 3);
        // Away from the frame and from where other lines cross.
        return Lines{guideInkAlong(page, box, {0.15, 0.15}, {0.3, 0.3}),
                     guideInkAlong(page, box, {1.0 / 3, 0.05}, {1.0 / 3, 0.28}),
                     guideInkAlong(page, box, {0.5, 0.05}, {0.5, 0.28})};
    };
    const Lines tian = linesOf(Grid::Tian);
    const Lines mi = linesOf(Grid::Mi);
    const Lines jiu = linesOf(Grid::Jiu);
    const Lines plain = linesOf(Grid::Plain);
    // Dashed lines: more than half their length inked, against nothing at all.
    EXPECT_EQ(tian.diagonal, 0);
    EXPECT_GT(mi.diagonal, 30);
    EXPECT_EQ(jiu.diagonal, 0);
    EXPECT_GT(tian.middle, 30);
    EXPECT_GT(mi.middle, 30);
    EXPECT_EQ(jiu.middle, 0);
    EXPECT_GT(jiu.third, 30);
    EXPECT_EQ(tian.third, 0);
    EXPECT_EQ(plain.diagonal + plain.third + plain.middle, 0);
}

TEST_F(SheetRendering, TheBoxesMeasureWhatTheTeacherChose) {
    const std::vector<SheetCharacter> one{{QStringLiteral("永"), barAndBeam()}};
    for (double box : {12.0, 16.0, 20.0, 24.0}) {
        const SheetOptions options{.paper = Paper::A4, .grid = Grid::Plain, .box = box};
        fs::remove(pdf);
        writePracticeSheetPdf(pdf, one, options, AtomicFile::Existing::Refuse);
        const QImage page = testing::pdfPage(pdf, 1, 300);
        const SheetPlan plan = planSheet(printableOf(Paper::A4), {2}, options);
        const SheetRow& copy = rowOf(plan.pages.at(0).blocks.at(0), RowKind::Copy);
        // The frames' lines across the middle of the row, left to right.
        const int y = static_cast<int>(std::lround(
            (kMargin + plan.metrics.bodyTop + copy.top + copy.height / 2) * 300 / 25.4));
        std::vector<int> lines;
        for (int x = 0, run = -1; x < page.width(); ++x) {
            const bool inked = !isWhite(page.pixelColor(x, y));
            if (inked && run < 0) {
                run = x;
            } else if (!inked && run >= 0) {
                lines.push_back((run + x - 1) / 2);
                run = -1;
            }
        }
        ASSERT_EQ(static_cast<int>(lines.size()), plan.metrics.columns + 1) << box;
        const double measured = (lines.back() - lines.front()) * 25.4 / 300 / plan.metrics.columns;
        EXPECT_NEAR(measured, box, 0.1) << box;
    }
}

TEST_F(SheetRendering, TitleNameLineAndPinyinAreTheTeachersToChoose) {
    store::CharacterFacts xing;
    xing.readings = {"xíng", "háng"};
    xing.gloss = "go; walk";
    const std::vector<SheetCharacter> characters{{QStringLiteral("行"), barAndBeam(), xing},
                                                 {QStringLiteral("行"), bars(12), xing},
                                                 {QStringLiteral("行"), bars(12), xing}};
    SheetOptions options{.paper = Paper::A4, .title = QStringLiteral("Week 3: walking")};
    options.nameLine = true;
    options.pinyin = false;
    const int pages = writePracticeSheetPdf(pdf, characters, options, AtomicFile::Existing::Refuse);
    ASSERT_GE(pages, 2);
    for (int page = 1; page <= pages; ++page) {
        const QString text = testing::pdfText(pdf, page);
        EXPECT_TRUE(text.contains(QStringLiteral("Week 3: walking"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Name:")));
        EXPECT_TRUE(text.contains(QStringLiteral("Date:")));
        EXPECT_FALSE(text.contains(QStringLiteral("xíng"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("go; walk")));
        // The instruction once a page, in the footer.
        EXPECT_EQ(text.count(QStringLiteral("Start each stroke")), 1);
    }
}

TEST_F(SheetRendering, AFailedWriteLeavesNoFileAndAnExistingOneStands) {
    scratch.write("sheet.pdf", "the teacher's own sheet");
    const std::vector<SheetCharacter> one{{QStringLiteral("永"), barAndBeam()}};
    EXPECT_THROW(writePracticeSheetPdf(pdf, one, SheetOptions{.paper = Paper::A4},
                                       AtomicFile::Existing::Refuse),
                 Error);
    EXPECT_EQ(scratch.read("sheet.pdf"), "the teacher's own sheet");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(scratch.path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

}  // namespace
}  // namespace qir::sheet
