// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/stroke_order.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QTest>
#include <filesystem>

#include "platform/errors.h"
#include "store/character_store.h"
#include "store/dataset.h"
#include "store/engine_error.h"
#include "strokes/pictures/jpeg_decoder.h"
#include "strokes/pictures/jpeg_to_bmp.h"
#include "strokes/record_grid.h"
#include "tests/strokes/stroke_tables.h"
#include "tests/support/scratch_directory.h"

namespace qir::strokes {
namespace {

using store::DataSetState;
using testing::kLong;
using testing::kRen;
using testing::kShi;
using testing::kYi;
using testing::StrokeRow;

constexpr int kScreen = 24;

class ShowStrokeOrderTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    testing::OpenedStore opened;
    store::Table& tablebmp = opened.store.strokeDisplayTable();

    void rebuild(const std::string& hanzi) { ShowStrokeOrder(hanzi, opened.store, kScreen); }

    std::vector<std::string> filenames() {
        std::vector<std::string> names;
        const int keep = tablebmp.recNo();
        for (int row = 1; row <= tablebmp.recordCount(); ++row) {
            tablebmp.setRecNo(row);
            names.push_back(tablebmp.fieldAsString("Filename"));
        }
        tablebmp.setRecNo(keep);
        return names;
    }
};

TEST_F(ShowStrokeOrderTest, FillsTheDisplayTableWithEachStepAsABitmapInStepOrder) {
    auto rows = testing::strokeRows(kShi, 3);
    auto others = testing::strokeRows(kRen, 2);
    // Stored out of order and mixed with another character's steps.
    testing::writeStrokeTables({rows[2], others[0], rows[0], others[1], rows[1]});

    rebuild(kShi);

    ASSERT_TRUE(tablebmp.active());
    EXPECT_EQ(filenames(), (std::vector<std::string>{kShi + "01", kShi + "02", kShi + "03"}));
    EXPECT_EQ(tablebmp.recNo(), 1);
    EXPECT_EQ(tablebmp.state(), DataSetState::Browse);
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(tablebmp.blobAt(row, "Photo"), jpegToBmp(rows[row - 1].photo, kScreen));
    }
    EXPECT_FALSE(scratch.exists("tmp.bmp"));
    EXPECT_EQ(scratch.read("temp.jpg"), std::string(rows[2].photo.begin(), rows[2].photo.end()));
    EXPECT_TRUE(scratch.exists("tmp.jpg"));
}

TEST_F(ShowStrokeOrderTest, RebuildingReplacesTheRowsAndReturnsToTheFirst) {
    auto rows = testing::strokeRows(kShi, 2);
    auto one = testing::strokeRows(kYi, 1);
    testing::writeStrokeTables({rows[0], rows[1], one[0]});
    rebuild(kShi);
    tablebmp.last();
    rebuild(kYi);
    EXPECT_EQ(filenames(), std::vector<std::string>{kYi + "01"});
    rebuild(kShi);
    tablebmp.last();
    rebuild(kShi);
    EXPECT_EQ(filenames().size(), 2u);
    EXPECT_EQ(tablebmp.recNo(), 1);
}

TEST_F(ShowStrokeOrderTest, AnEmptyPictureStopsTheRebuildWithTheLastRowAddedCurrent) {
    auto rows = testing::strokeRows(kShi, 4);
    rows[2].photo.clear();
    testing::writeStrokeTables(rows);
    RecordGrid grid(nullptr);
    grid.setDataSet(&tablebmp);

    rebuild(kShi);  // no error

    EXPECT_EQ(filenames(), (std::vector<std::string>{kShi + "01", kShi + "02"}));
    EXPECT_EQ(tablebmp.recNo(), 2);
    EXPECT_EQ(grid.currentCell(), 1);
}

TEST_F(ShowStrokeOrderTest, NoPicturesLeaveAnOpenEmptyTable) {
    auto rows = testing::strokeRows(kShi, 2);
    rows[0].photo.clear();
    testing::writeStrokeTables(rows);
    RecordGrid grid(nullptr);
    grid.setDataSet(&tablebmp);
    for (const std::string& hanzi : {kShi, kRen}) {  // empty first picture; no rows at all
        rebuild(hanzi);
        EXPECT_TRUE(tablebmp.active());
        EXPECT_EQ(tablebmp.recordCount(), 0);
        EXPECT_EQ(grid.currentCell(), 0);  // one empty box in the first cell
        EXPECT_FALSE(grid.panel9()->isHidden());
        EXPECT_TRUE(grid.scrollBar()->isHidden());
    }
}

TEST_F(ShowStrokeOrderTest, ACatalogueEntryWithATrailingBlankFindsItsSteps) {
    testing::writeStrokeTables(testing::strokeRows(kShi, 2));
    EXPECT_EQ(store::rowsOfPattern(kShi + " "), "%" + kShi + "%");
    rebuild(kShi + " ");
    EXPECT_EQ(tablebmp.recordCount(), 2);
}

TEST_F(ShowStrokeOrderTest, AKeyThatIsNoCharacterRebuildsNothing) {
    // Keys a crafted animation table may hold: as patterns they would match every step row.
    testing::writeStrokeTables({testing::strokeRows(kShi, 2)[0], testing::strokeRows(kRen, 1)[0]});
    RecordGrid grid(nullptr);
    grid.setDataSet(&tablebmp);
    rebuild(kShi);
    ASSERT_EQ(tablebmp.recordCount(), 1);
    for (const std::string key : {"%", "%%", "_", "__", "", "\xCA%", "%\xAE", "ab", "\xCA\xAE%"}) {
        SCOPED_TRACE(key);
        rebuild(key);
        EXPECT_TRUE(tablebmp.active());
        EXPECT_EQ(tablebmp.recordCount(), 0);
        EXPECT_EQ(grid.currentCell(), 0);  // one empty box in the first cell
    }
}

TEST_F(ShowStrokeOrderTest, ABadPictureStopsWithItsErrorAndLeavesItsRowPending) {
    auto rows = testing::strokeRows(kShi, 3);
    const std::string notJpeg = "not a jpeg";
    rows[1].photo.assign(notJpeg.begin(), notJpeg.end());
    testing::writeStrokeTables(rows);
    RecordGrid grid(nullptr);
    grid.setDataSet(&tablebmp);

    try {
        rebuild(kShi);
        FAIL();
    } catch (const JpegError& error) {
        EXPECT_STREQ(error.what(), "JPEG error #53");
    }
    // The first row is stored; the second is being inserted with its name and no picture.
    EXPECT_EQ(tablebmp.state(), DataSetState::Insert);
    EXPECT_EQ(tablebmp.recordCount(), 2);
    EXPECT_EQ(tablebmp.recNo(), 2);
    EXPECT_EQ(tablebmp.fieldAsString("Filename"), kShi + "02");
    EXPECT_EQ(tablebmp.blobSize("Photo"), 0u);
    EXPECT_EQ(grid.currentCell(), 1);
    EXPECT_FALSE(scratch.exists("tmp.bmp"));

    // The next rebuild drops the pending row and starts afresh.
    testing::writeStrokeTables(testing::strokeRows(kShi, 3));
    rebuild(kShi);
    EXPECT_EQ(filenames().size(), 3u);
    EXPECT_EQ(tablebmp.state(), DataSetState::Browse);
}

TEST_F(ShowStrokeOrderTest, FilesThatCannotBeWrittenGiveTheirErrors) {
    testing::writeStrokeTables(testing::strokeRows(kShi, 2));
    std::filesystem::create_directory("temp.jpg");
    try {
        rebuild(kShi);
        FAIL();
    } catch (const FileCreateError& error) {
        EXPECT_STREQ(error.what(), "Cannot create file temp.jpg");
    }
    EXPECT_TRUE(tablebmp.active());
    EXPECT_EQ(tablebmp.recordCount(), 0);
    std::filesystem::remove("temp.jpg");

    std::filesystem::create_directory("tmp.bmp");
    try {
        rebuild(kShi);
        FAIL();
    } catch (const FileCreateError& error) {
        EXPECT_STREQ(error.what(), "Cannot create file tmp.bmp");
    }
    EXPECT_EQ(tablebmp.state(), DataSetState::Insert);
    EXPECT_EQ(tablebmp.fieldAsString("Filename"), kShi + "01");
}

TEST_F(ShowStrokeOrderTest, AMissingDisplayTableLeavesTheTableClosed) {
    testing::writeStrokeTables(testing::strokeRows(kShi, 1));
    std::filesystem::remove("bishunbmp.db");
    std::filesystem::create_directory("bishunbmp.db");  // cannot be a table
    RecordGrid grid(nullptr);
    grid.setDataSet(&tablebmp);
    EXPECT_THROW(rebuild(kShi), store::EngineError);
    EXPECT_FALSE(tablebmp.active());
    EXPECT_EQ(grid.currentCell(), -1);  // ten empty cells
}

TEST_F(ShowStrokeOrderTest, TheGridRedrawsAfterEveryAppendAndPost) {
    testing::writeStrokeTables(testing::strokeRows(kLong, 4));
    QWidget window;
    window.resize(500, 200);
    RecordGrid grid(&window);
    grid.setDataSet(&tablebmp);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    grid.installEventFilter(&counter);
    rebuild(kLong);
    EXPECT_GE(counter.paints, 2 * 4);
}

TEST_F(ShowStrokeOrderTest, TheGridFillsWithTheStepPictures) {
    testing::writeStrokeTables(testing::strokeRows(kLong, 12, 120));
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0xDC, 0xE4, 0xE0));
    window.setPalette(palette);
    window.resize(460, 200);
    RecordGrid grid(&window);
    grid.move(10, 10);
    grid.setDataSet(&tablebmp);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    rebuild(kLong);

    const QImage shot = grid.grab().toImage();
    if (const QByteArray path = qgetenv("QIR_STROKES_SCREENSHOT"); !path.isEmpty()) {
        shot.save(QString::fromLocal8Bit(path));
    }
    // Every cell holds a picture with dark or red stroke pixels inside its box.
    for (int cell = 0; cell < RecordGrid::kCells; ++cell) {
        const QRect box = RecordGrid::cellRect(cell).adjusted(11, 12, 0, 0);
        int strokePixels = 0;
        for (int y = box.top(); y < box.top() + 62; ++y) {
            for (int x = box.left(); x < box.left() + 62; ++x) {
                const QColor c = shot.pixelColor(x, y);
                strokePixels += c.green() < 120;
            }
        }
        EXPECT_GT(strokePixels, 20) << "cell " << cell;
    }
    EXPECT_EQ(grid.currentCell(), 0);
    EXPECT_EQ(grid.scrollBar()->maximum(), 12);
}

}  // namespace
}  // namespace qir::strokes
