// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheet_options.h"

#include <gtest/gtest.h>

#include <QSettings>

#include "tests/support/scratch_directory.h"

namespace qir::sheet {
namespace {

bool refuses(const SheetOptions& options, OptionField field) {
    for (const OptionProblem& problem : problemsWith(options)) {
        if (problem.field == field && !problem.reason.isEmpty()) {
            return true;
        }
    }
    return false;
}

TEST(SheetOptions, TheUsualShapeIsSoundAndEachBadValueIsNamedByItsField) {
    EXPECT_TRUE(problemsWith(SheetOptions{}).empty());
    for (double box : {kSmallestBox, kUsualBox, kYoungChildrensBox, kLargestBox}) {
        EXPECT_TRUE(problemsWith(SheetOptions{.box = box}).empty()) << box;
    }
    for (double box : {0.0, 11.9, 24.1, 100.0, -16.0}) {
        EXPECT_TRUE(refuses(SheetOptions{.box = box}, OptionField::Box)) << box;
    }
    EXPECT_TRUE(refuses(SheetOptions{.traceRows = -1}, OptionField::TraceRows));
    EXPECT_TRUE(refuses(SheetOptions{.copyRows = kMostCopyRows + 1}, OptionField::CopyRows));
    EXPECT_TRUE(
        refuses(SheetOptions{.traceRows = 0, .buildRow = false, .copyRows = 0}, OptionField::Rows));
    // Filling the page is a practice row of its own.
    EXPECT_TRUE(
        problemsWith(
            SheetOptions{.traceRows = 0, .buildRow = false, .copyRows = 0, .fillPage = true})
            .empty());
    EXPECT_TRUE(refuses(SheetOptions{.title = QString(kLongestTitle + 1, QLatin1Char('x'))},
                        OptionField::Title));
    EXPECT_TRUE(problemsWith(SheetOptions{.title = QString(kLongestTitle, QChar(0x6C38))}).empty());
}

TEST(SheetOptions, RowsWrittenAsTextReadBackTheSame) {
    for (const SheetOptions& options :
         {SheetOptions{}, SheetOptions{.traceRows = 0, .buildRow = false, .copyRows = 3},
          SheetOptions{.traceRows = 5, .buildRow = true, .copyRows = 0, .fillPage = true}}) {
        SheetOptions back{.traceRows = 4, .buildRow = false, .copyRows = 9, .fillPage = true};
        setRowsFromText(back, rowsText(options));
        EXPECT_EQ(back.traceRows, options.traceRows);
        EXPECT_EQ(back.buildRow, options.buildRow);
        EXPECT_EQ(back.copyRows, options.copyRows);
        EXPECT_EQ(back.fillPage, options.fillPage);
    }
    // A refused text leaves the rows as they were.
    SheetOptions kept;
    EXPECT_THROW(setRowsFromText(kept, QStringLiteral("trace,fill,copy")), std::invalid_argument);
    EXPECT_EQ(kept, SheetOptions{});
}

TEST(SheetOptions, RememberedChoicesComeBackAndDamagedOnesFallBackOneByOne) {
    testing::ScratchDirectory scratch;
    const QString file = QString::fromStdString((scratch.path() / "sheet.ini").string());
    const SheetOptions chosen{.paper = Paper::Letter,
                              .grid = Grid::Jiu,
                              .box = 20,
                              .traceRows = 2,
                              .buildRow = false,
                              .copyRows = 1,
                              .fillPage = true,
                              .title = QStringLiteral("三年级 二班"),
                              .nameLine = true,
                              .pinyin = false};
    {
        QSettings settings(file, QSettings::IniFormat);
        saveSheetOptions(settings, chosen);
    }
    {
        QSettings settings(file, QSettings::IniFormat);
        EXPECT_EQ(loadSheetOptions(settings), chosen);
        settings.setValue(QStringLiteral("sheet/box"), 500);
        settings.setValue(QStringLiteral("sheet/grid"), QStringLiteral("hex"));
        settings.setValue(QStringLiteral("sheet/rows"), QStringLiteral("copy,trace"));
    }
    QSettings settings(file, QSettings::IniFormat);
    const SheetOptions loaded = loadSheetOptions(settings);
    const SheetOptions usual;
    EXPECT_DOUBLE_EQ(loaded.box, usual.box);
    EXPECT_EQ(loaded.grid, usual.grid);
    EXPECT_EQ(loaded.traceRows, usual.traceRows);
    EXPECT_EQ(loaded.copyRows, usual.copyRows);
    // The sound ones are kept.
    EXPECT_EQ(loaded.paper, Paper::Letter);
    EXPECT_EQ(loaded.title, chosen.title);
    EXPECT_TRUE(loaded.nameLine);
    EXPECT_FALSE(loaded.pinyin);
}

TEST(SheetOptions, GridsHaveNamesBothWays) {
    for (Grid grid : {Grid::Tian, Grid::Mi, Grid::Jiu, Grid::Plain}) {
        EXPECT_EQ(gridNamed(gridName(grid)), grid);
        EXPECT_FALSE(gridLabel(grid).isEmpty());
    }
    EXPECT_EQ(gridNamed(QStringLiteral("tiangrid")), std::nullopt);
}

}  // namespace
}  // namespace qir::sheet
