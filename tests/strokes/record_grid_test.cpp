// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/record_grid.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QStyle>
#include <QTest>
#include <QWheelEvent>

#include "platform/errors.h"
#include "store/dataset.h"
#include "store/table_file.h"
#include "strokes/pictures/photo_reader.h"
#include "tests/strokes/stroke_tables.h"
#include "tests/support/bitmap_bytes.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/scratch_directory.h"

namespace qir::strokes {
namespace {

using store::DataSetState;

const QColor kParentColour(0xDC, 0xE4, 0xE0);

using testing::bmpOf;

QColor colourOfRow(int row) {
    return QColor::fromHsv((row * 37) % 360, 200, 220);
}

Bytes pictureOfRow(int row) {
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(colourOfRow(row));
    return bmpOf(image);
}

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 8 && std::abs(a.green() - b.green()) < 8 &&
           std::abs(a.blue() - b.blue()) < 8;
}

class RecordGridTest : public ::testing::Test {
  protected:
    testing::ScratchDirectory scratch;
    testing::OpenedStore opened;
    store::Table& table = opened.store.strokeDisplayTable();
    testing::RecordingDesktop desktop;
    QWidget window;
    RecordGrid* grid = nullptr;

    void SetUp() override {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, kParentColour);
        window.setPalette(palette);
        window.resize(460, 200);
        grid = new RecordGrid(&window);
        grid->setDesktop(&desktop);
        grid->setDataSet(&table);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);
    }
    void TearDown() override {
        EXPECT_TRUE(desktop.errors.isEmpty()) << desktop.errors.join("|").toStdString();
    }

    // Rows numbered 1..count, each a picture of its own colour.
    void openWithRows(int count) {
        store::TableFileWriter writer(store::kStrokeDisplayTable.fileName,
                                      store::kStrokeDisplayTable);
        for (int row = 1; row <= count; ++row) {
            writer.addRow(QByteArray::number(row).toStdString(), pictureOfRow(row));
        }
        writer.commit();
        table.open();
    }
    void key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(grid, static_cast<Qt::Key>(key), mods);
    }
    void boxKey(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(grid->dbImage1(), static_cast<Qt::Key>(key), mods);
    }
    QPoint pictureCentre(int cell) const {
        return RecordGrid::cellRect(cell).topLeft() + QPoint(9 + 2 + 31, 10 + 2 + 31);
    }
    // Which row's picture each cell shows (0 for none), read from the screen.
    std::vector<int> rowsOnScreen(int maxRow) {
        const QImage shot = grid->grab().toImage();
        std::vector<int> rows;
        for (int cell = 0; cell < RecordGrid::kCells; ++cell) {
            const QColor seen = shot.pixelColor(pictureCentre(cell));
            int found = 0;
            for (int row = 1; row <= maxRow; ++row) {
                if (near(seen, colourOfRow(row))) {
                    found = row;
                }
            }
            rows.push_back(found);
        }
        return rows;
    }
    std::vector<int> rowsFrom(int first, int count = RecordGrid::kCells) {
        std::vector<int> rows;
        for (int i = 0; i < RecordGrid::kCells; ++i) {
            rows.push_back(i < count ? first + i : 0);
        }
        return rows;
    }
};

TEST_F(RecordGridTest, GeometryAndTheClosedLook) {
    const int bar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    EXPECT_EQ(grid->size(), QSize(5 * 85 + bar, 172));
    EXPECT_EQ(grid->panel9()->size(), QSize(66, 66));
    EXPECT_EQ(grid->dbImage1()->geometry(), QRect(2, 2, 62, 62));
    EXPECT_EQ(RecordGrid::cellRect(7), QRect(170, 86, 85, 86));

    // Closed: ten empty cells, no box; the bar shows 0 to 4 at the top.
    EXPECT_EQ(grid->currentCell(), -1);
    EXPECT_TRUE(grid->panel9()->isHidden());
    EXPECT_FALSE(grid->scrollBar()->isHidden());
    EXPECT_EQ(grid->scrollBar()->minimum(), 0);
    EXPECT_EQ(grid->scrollBar()->maximum(), 4);
    EXPECT_EQ(grid->scrollBar()->value(), 0);
    const QImage shot = grid->grab().toImage();
    EXPECT_EQ(shot.pixelColor(pictureCentre(0)), kParentColour);
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::white));           // raised edge: light
    EXPECT_EQ(shot.pixelColor(84, 85), QColor(0x80, 0x80, 0x80));  // and shadow
}

TEST_F(RecordGridTest, AnOpenEmptyTableShowsOneEmptyBox) {
    openWithRows(0);
    EXPECT_EQ(grid->currentCell(), 0);
    EXPECT_FALSE(grid->panel9()->isHidden());
    EXPECT_EQ(grid->panel9()->pos(), QPoint(9, 10));
    EXPECT_TRUE(grid->scrollBar()->isHidden());
    const QImage shot = grid->grab().toImage();
    EXPECT_EQ(shot.pixelColor(pictureCentre(0)), grid->dbImage1()->palette().color(QPalette::Base));
    EXPECT_EQ(shot.pixelColor(pictureCentre(1)), kParentColour);
}

TEST_F(RecordGridTest, TwelveStepsPageAsTwoLinesOfFiveThenTheLastTen) {
    openWithRows(12);
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_EQ(grid->currentCell(), 0);
    EXPECT_EQ(rowsOnScreen(12), rowsFrom(1));
    QScrollBar* bar = grid->scrollBar();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 12);
    EXPECT_EQ(bar->pageStep(), 10);
    EXPECT_EQ(bar->value(), 1);

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // one line down
    EXPECT_EQ(grid->topRow(), 3);
    EXPECT_EQ(rowsOnScreen(12), rowsFrom(3));
    EXPECT_EQ(table.recNo(), 6);  // moved with the view as far as it could go
    EXPECT_EQ(bar->value(), 6);
    EXPECT_TRUE(grid->hasFocus());

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // the view is at the end
    EXPECT_EQ(grid->topRow(), 3);
    EXPECT_EQ(table.recNo(), 11);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(grid->topRow(), 1);
    EXPECT_EQ(table.recNo(), 1);

    // Dragging moves nothing until the thumb is let go.
    bar->setSliderDown(true);
    bar->setSliderPosition(8);
    EXPECT_EQ(table.recNo(), 1);
    bar->setSliderDown(false);
    EXPECT_EQ(table.recNo(), 8);
    for (const auto& [position, row] : {std::pair{0, 1}, {12, 12}, {5, 5}}) {
        bar->setSliderDown(true);
        bar->setSliderPosition(position);
        bar->setSliderDown(false);
        EXPECT_EQ(table.recNo(), row) << position;
    }
}

TEST_F(RecordGridTest, AWheelTurnOverTheScrollBarScrollsALineAndTheThumbFollowsTheRow) {
    openWithRows(12);
    QScrollBar* bar = grid->scrollBar();
    auto turn = [bar](int notches) {
        const QPointF at(bar->width() / 2.0, bar->height() / 2.0);
        QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
    };
    turn(1);  // down
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(grid->topRow(), 3);
    EXPECT_EQ(table.recNo(), 6);
    EXPECT_EQ(bar->value(), 6);
    EXPECT_EQ(bar->sliderPosition(), 6);
    turn(1);  // the view is at the end: the row goes on
    EXPECT_EQ(table.recNo(), 11);
    EXPECT_EQ(bar->value(), 11);
    turn(-1);  // up
    EXPECT_EQ(grid->topRow(), 1);
    EXPECT_EQ(table.recNo(), 6);
    EXPECT_EQ(bar->value(), 6);
    EXPECT_EQ(bar->sliderPosition(), 6);
}

TEST_F(RecordGridTest, KeysMoveByCellsAndScrollByWholeLines) {
    openWithRows(23);
    grid->setFocus();
    // {key, current row, first row shown} after each key.
    const struct {
        int key, row, top;
    } steps[] = {
        {Qt::Key_Right, 2, 1},      {Qt::Key_Down, 7, 1},   {Qt::Key_Down, 12, 6},
        {Qt::Key_Down, 17, 11},     {Qt::Key_Down, 22, 14}, {Qt::Key_Up, 17, 14},
        {Qt::Key_Up, 12, 9},        {Qt::Key_Left, 11, 9},  {Qt::Key_Left, 10, 9},
        {Qt::Key_PageDown, 20, 14}, {Qt::Key_Home, 1, 1},   {Qt::Key_PageDown, 11, 11},
        {Qt::Key_PageUp, 1, 1},     {Qt::Key_End, 23, 14},  {Qt::Key_Up, 18, 14},
    };
    for (const auto& step : steps) {
        key(step.key);
        EXPECT_EQ(table.recNo(), step.row) << "key " << step.key;
        EXPECT_EQ(grid->topRow(), step.top) << "key " << step.key;
    }
    EXPECT_EQ(rowsOnScreen(23), rowsFrom(14));
}

TEST_F(RecordGridTest, RightOnTheLastPictureAddsABlankCellThatLeftRemoves) {
    openWithRows(3);
    grid->setFocus();
    key(Qt::Key_End);
    key(Qt::Key_Right);
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_EQ(table.state(), DataSetState::Insert);
    EXPECT_EQ(grid->currentCell(), 3);
    EXPECT_TRUE(grid->dbImage1()->picture().isNull());
    key(Qt::Key_Right);  // already on the blank row
    EXPECT_EQ(table.recordCount(), 4);
    key(Qt::Key_Left);
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(table.recNo(), 3);
    EXPECT_EQ(table.state(), DataSetState::Browse);
    EXPECT_EQ(rowsOnScreen(3), rowsFrom(1, 3));

    // After a full page the blank cell scrolls in, and out again.
    table.close();
    openWithRows(10);
    key(Qt::Key_End);
    key(Qt::Key_Right);
    EXPECT_EQ(grid->topRow(), 2);
    EXPECT_EQ(grid->currentCell(), 9);
    key(Qt::Key_Left);
    EXPECT_EQ(grid->topRow(), 1);
    EXPECT_EQ(table.recNo(), 10);
}

TEST_F(RecordGridTest, AChangedBlankRowIsStoredAndAnUntouchedOneDropped) {
    openWithRows(2);
    grid->setFocus();
    key(Qt::Key_End);
    key(Qt::Key_Right);
    QImage pasted(30, 20, QImage::Format_RGB32);
    pasted.fill(Qt::darkGreen);
    QGuiApplication::clipboard()->setImage(pasted);
    boxKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid->dbImage1()->picture().size(), QSize(30, 20));
    key(Qt::Key_Left);
    ASSERT_EQ(table.recordCount(), 3);
    const QImage stored = readPhoto(table.blobAt(3, "Photo"));
    EXPECT_EQ(stored.size(), QSize(30, 20));
    EXPECT_TRUE(near(stored.pixelColor(5, 5), QColor(Qt::darkGreen)));

    // Insert: a blank row in front of the current one, dropped when left untouched.
    key(Qt::Key_Home);
    key(Qt::Key_Insert);
    EXPECT_EQ(table.state(), DataSetState::Insert);
    EXPECT_EQ(table.recNo(), 1);
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_TRUE(grid->dbImage1()->hasFocus());
    boxKey(Qt::Key_Escape);
    EXPECT_TRUE(grid->hasFocus());
    EXPECT_EQ(table.recordCount(), 3);
    key(Qt::Key_Insert, Qt::ControlModifier);  // a blank row at the end
    EXPECT_EQ(table.recNo(), 4);
    key(Qt::Key_Home);
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(rowsOnScreen(2), rowsFrom(1, 2));

    key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_EQ(table.fieldAsString("Filename"), "2");
}

TEST_F(RecordGridTest, ThePictureBoxCopiesCutsAndPastesAndEscRestores) {
    openWithRows(3);
    key(Qt::Key_Right);
    key(Qt::Key_Return);
    ASSERT_TRUE(grid->dbImage1()->hasFocus());
    QGuiApplication::clipboard()->clear();
    boxKey(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(near(QGuiApplication::clipboard()->image().pixelColor(3, 3), colourOfRow(2)));

    boxKey(Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(grid->dbImage1()->picture().isNull());
    boxKey(Qt::Key_Escape);  // restores the picture and gives the grid the focus
    EXPECT_FALSE(grid->dbImage1()->picture().isNull());
    EXPECT_TRUE(grid->hasFocus());

    key(Qt::Key_F2);
    boxKey(Qt::Key_Delete, Qt::ShiftModifier);  // cut, then leave the row: stored empty
    boxKey(Qt::Key_Tab);
    EXPECT_EQ(table.recNo(), 3);
    EXPECT_EQ(table.blobAt(2, "Photo").size(), 0u);
    EXPECT_TRUE(grid->dbImage1()->hasFocus());

    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(red);
    boxKey(Qt::Key_Insert, Qt::ShiftModifier);  // paste over row 3
    boxKey(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(table.recNo(), 2);
    EXPECT_EQ(readPhoto(table.blobAt(3, "Photo")).size(), QSize(8, 8));
    boxKey(Qt::Key_Tab);
    boxKey(Qt::Key_Tab);  // from the last row, Tab adds a blank row as Right does
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_EQ(table.state(), DataSetState::Insert);
    boxKey(Qt::Key_Enter);
    EXPECT_TRUE(grid->hasFocus());
}

TEST_F(RecordGridTest, ClicksMakeRowsCurrentAndPlaceTheFocus) {
    openWithRows(7);
    const QPoint margin(4, 4);
    // Another row's picture: that row, and the picture box takes the focus.
    QTest::mouseClick(grid, Qt::LeftButton, {}, pictureCentre(6));
    EXPECT_EQ(table.recNo(), 7);
    EXPECT_TRUE(grid->dbImage1()->hasFocus());
    // Another row's margin: that row, and the grid takes the focus.
    QTest::mouseClick(grid, Qt::LeftButton, {}, RecordGrid::cellRect(2).topLeft() + margin);
    EXPECT_EQ(table.recNo(), 3);
    EXPECT_TRUE(grid->hasFocus());
    // The current cell's picture, then an empty cell.
    QTest::mouseClick(grid->dbImage1(), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_TRUE(grid->dbImage1()->hasFocus());
    QTest::mouseClick(grid, Qt::LeftButton, {}, pictureCentre(9));
    EXPECT_EQ(table.recNo(), 3);
    EXPECT_TRUE(grid->hasFocus());
}

TEST_F(RecordGridTest, TheFocusMarkFollowsTheGridsFocus) {
    openWithRows(2);
    grid->setFocus();
    bool dotted = false;
    for (int y = 2; y < 80 && !dotted; ++y) {
        dotted = grid->grab().toImage().pixelColor(2, y) == QColor(Qt::black);
    }
    EXPECT_TRUE(dotted);
    grid->dbImage1()->setFocus();
    const QImage shot = grid->grab().toImage();
    for (int y = 2; y < 80; ++y) {
        EXPECT_NE(shot.pixelColor(2, y), QColor(Qt::black));
    }
    // The box's own frame.
    EXPECT_EQ(shot.pixelColor(grid->panel9()->pos() + QPoint(2, 30)), QColor(Qt::black));
}

TEST_F(RecordGridTest, PhotosReadWithOrWithoutTheGraphicHeader) {
    const Bytes plain = pictureOfRow(1);
    Bytes headed{1, 0, 0, 1};
    const auto length = static_cast<std::uint32_t>(plain.size());
    for (int shift = 0; shift < 32; shift += 8) {
        headed.push_back(static_cast<unsigned char>(length >> shift));
    }
    headed.insert(headed.end(), plain.begin(), plain.end());
    EXPECT_EQ(readPhoto(headed).size(), QSize(24, 24));
    EXPECT_EQ(readPhoto(plain).size(), QSize(24, 24));
    EXPECT_TRUE(readPhoto(Bytes{}).isNull());
    Bytes wrongLength = headed;
    wrongLength[4] ^= 1;  // not a header after all, and not a BMP either
    EXPECT_THROW(readPhoto(wrongLength), InvalidGraphicError);
    Bytes cut(plain.begin(), plain.begin() + 40);
    EXPECT_THROW(readPhoto(cut), StreamReadError);
}

TEST_F(RecordGridTest, AnUnreadablePhotoIsAnErrorOnlyWhenItsRowBecomesCurrent) {
    store::TableFileWriter writer(store::kStrokeDisplayTable.fileName, store::kStrokeDisplayTable);
    writer.addRow("1", pictureOfRow(1));
    const std::string junk = "GIF89a, not a bitmap";
    writer.addRow("2", Bytes(junk.begin(), junk.end()));
    writer.commit();
    table.open();
    EXPECT_EQ(rowsOnScreen(1), rowsFrom(1, 1));  // the copy shows an empty box, no error
    EXPECT_TRUE(desktop.errors.isEmpty());
    grid->setFocus();
    key(Qt::Key_Right);
    EXPECT_EQ(desktop.errors, QStringList{"Bitmap image is not valid."});
    EXPECT_EQ(table.recNo(), 2);
    EXPECT_TRUE(grid->dbImage1()->picture().isNull());
    desktop.errors.clear();
}

// A screen reader reads the page's step pictures as a list, each named with its step.
TEST_F(RecordGridTest, AssistiveTechnologyReadsTheStepsOfThePageByName) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(grid);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Stroke steps"));
    EXPECT_EQ(list->childCount(), 0);  // closed: no steps
    openWithRows(12);
    ASSERT_EQ(list->childCount(), 10);
    const auto name = [&](int index) { return list->child(index)->text(QAccessible::Name); };
    EXPECT_EQ(name(0), QString::fromUtf8("第1笔 / step 1 of 12"));
    EXPECT_EQ(name(9), QString::fromUtf8("第10笔 / step 10 of 12"));
    EXPECT_EQ(list->child(0)->role(), QAccessible::ListItem);
    EXPECT_TRUE(list->child(0)->state().selected);
    EXPECT_FALSE(list->child(1)->state().selected);
    EXPECT_EQ(list->indexOfChild(list->child(7)), 7);
    const QRect cell = RecordGrid::cellRect(6);
    EXPECT_EQ(list->child(6)->rect(), QRect(grid->mapToGlobal(cell.topLeft()), cell.size()));

    grid->scrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // a line down
    EXPECT_EQ(name(0), QString::fromUtf8("第3笔 / step 3 of 12"));
    EXPECT_EQ(name(9), QString::fromUtf8("第12笔 / step 12 of 12"));
}

}  // namespace
}  // namespace qir::strokes
