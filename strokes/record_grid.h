// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `DBCtrlGrid1`: a record grid showing one cell per row of a data set, five to a line and ten
// to a page, each cell holding the row's picture.

#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QWidget>
#include <map>

#include "store/dataset.h"
#include "strokes/picture_box.h"

namespace qir {
class Desktop;
}

namespace qir::strokes {

class RecordGrid : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kColumns = 5;
    static constexpr int kLines = 2;
    static constexpr int kCells = kColumns * kLines;

    explicit RecordGrid(QWidget* parent);
    ~RecordGrid() override;

    // Binds the grid to `dataSet` (nullptr unbinds). The grid follows its change notices and
    // shows the field "Photo" of each row.
    void setDataSet(store::DataSet* dataSet);
    store::DataSet* dataSet() const { return dataSet_; }
    // Where the errors of the grid's own mouse and key actions are shown; the system's
    // desktop when none is given.
    void setDesktop(Desktop* desktop) { desktop_ = desktop; }

    // The live cell's template.
    BevelPanel* panel9() const { return panel9_; }
    PictureBox* dbImage1() const { return dbImage1_; }
    QScrollBar* scrollBar() const { return scrollBar_; }

    // The rows of the bound data set; 0 while it is closed.
    int rowCount() const;
    // The record number shown in the first cell (1 while there are no rows).
    int topRow() const { return topRow_; }
    // The cell of the current row within the page, or -1 when the live cell is hidden.
    int currentCell() const;
    static QRect cellRect(int cell);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void dataChanged(store::DataChange change);
    void forgetPictures(store::DataChange change);
    void followCurrentRow();
    void placeLiveCell();
    // The grid's size: five cells wide plus the style's scroll bar.
    void fitSize();
    void updateScrollBar();
    // Reads the current row's picture into the live box; true when it changed.
    bool loadLivePicture();
    // Repaints at once what changed since the last redraw, or the whole grid.
    void redrawNow(bool everything);

    bool hasRows() const;
    int currentRow() const;
    // Makes row `target` current, first storing a changed pending row or dropping an untouched
    // one (`target` counts rows as they stood before that).
    void goToRow(int target);
    void scrollBy(int rows);
    void moveForward();  // Right and Tab: the next row, or a new blank one after the last
    void appendBlankRow();
    void insertBlankRow();
    void deleteCurrentRow();
    void cancelChange();
    void scrollBarAction(int action);
    void scrollBarReleased();

    bool pictureBoxKey(QKeyEvent* event);
    void copyPicture();
    void pastePicture();
    void cutPicture();
    void replacePicture(const QImage& image);

    template <typename Action>
    void guardedAction(Action&& action);

    const QPixmap& pictureOf(int row);

    store::DataSet* dataSet_ = nullptr;
    int subscription_ = -1;
    Desktop* desktop_ = nullptr;
    BevelPanel* panel9_ = nullptr;
    PictureBox* dbImage1_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    int topRow_ = 1;
    bool everOpened_ = false;
    store::DataChange lastChange_ = store::DataChange::Closed;
    bool syncingScrollBar_ = false;
    bool scrollBarFollowing_ = false;  // the bar's update after appended rows is on its way
    std::map<int, QPixmap> pictures_;
    qreal picturesRatio_ = 1.0;  // the device pixel ratio pictures_ were scaled for
    Bytes livePhoto_;            // the bytes the live box shows
    bool liveLoaded_ = false;
    int liveRow_ = 0;  // the record number whose picture the live box holds
    struct Shown {
        int top = 0;
        int count = -1;
        int live = -1;
    } shown_;  // what the last redraw showed  // painted copies' pictures by record number
};

}  // namespace qir::strokes
