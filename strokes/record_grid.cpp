// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/record_grid.h"

#include <QAccessible>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <exception>

#include "desktop/desktop.h"
#include "desktop/error_guard.h"
#include "strokes/cell_painting.h"
#include "strokes/picture_box.h"
#include "strokes/pictures/photo_reader.h"
#include "strokes/record_grid_accessible.h"

namespace qir::strokes {
namespace {

using store::DataChange;
using store::DataSetState;

constexpr const char* kPhotoField = "Photo";
constexpr int kFocusInset = 2;

// The scroll bar's look before the data set is first opened.
constexpr int kUnboundMaximum = 4;

int ceilDiv(int a, int b) {
    return (a + b - 1) / b;
}

QRect panelRect(int cell) {
    return QRect(RecordGrid::cellRect(cell).topLeft() + QPoint(kPanelLeft, kPanelTop),
                 QSize(kPanelSize, kPanelSize));
}

QRect pictureRect(int cell) {
    return panelRect(cell).adjusted(kPictureInset, kPictureInset, -kPictureInset, -kPictureInset);
}

Desktop& systemDesktop() {
    static SystemDesktop desktop;
    return desktop;
}

Bytes bitmapFileOf(const QImage& image) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    return Bytes(data.begin(), data.end());
}

}  // namespace

RecordGrid::RecordGrid(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DBCtrlGrid1"));
    setFocusPolicy(Qt::StrongFocus);
    static const bool accessibilityInstalled = [] {
        QAccessible::installFactory(recordGridAccessibleFactory);
        return true;
    }();
    Q_UNUSED(accessibilityInstalled);
    setAccessibleName(tr("Stroke steps"));

    panel9_ = new BevelPanel(this);
    panel9_->hide();
    dbImage1_ = new PictureBox(panel9_);
    dbImage1_->move(kPictureInset, kPictureInset);
    dbImage1_->installEventFilter(this);

    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    fitSize();
    connect(scrollBar_, &QScrollBar::actionTriggered, this,
            [this](int action) { scrollBarAction(action); });
    connect(scrollBar_, &QScrollBar::sliderReleased, this, [this] { scrollBarReleased(); });
    updateScrollBar();
}

void RecordGrid::fitSize() {
    const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    setFixedSize(kColumns * kCellWidth + barWidth, kLines * kCellHeight);
    scrollBar_->setGeometry(kColumns * kCellWidth, 0, barWidth, height());
}

void RecordGrid::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange) {
        fitSize();  // the window's own style may have another scroll bar width
    }
}

// The data set outlives the controls bound to it.
RecordGrid::~RecordGrid() {
    if (dataSet_ != nullptr) {
        dataSet_->unsubscribe(subscription_);
    }
}

void RecordGrid::setDataSet(store::DataSet* dataSet) {
    if (dataSet_ != nullptr) {
        dataSet_->unsubscribe(subscription_);
    }
    dataSet_ = dataSet;
    subscription_ = -1;
    topRow_ = 1;
    pictures_.clear();
    everOpened_ = dataSet_ != nullptr && dataSet_->active();
    if (dataSet_ != nullptr) {
        subscription_ = dataSet_->subscribe([this](DataChange change) { dataChanged(change); });
    }
    followCurrentRow();
    placeLiveCell();
    updateScrollBar();
    guardedAction([this] { loadLivePicture(); });
    redrawNow(true);
}

QRect RecordGrid::cellRect(int cell) {
    return QRect((cell % kColumns) * kCellWidth, (cell / kColumns) * kCellHeight, kCellWidth,
                 kCellHeight);
}

bool RecordGrid::hasRows() const {
    return rowCount() > 0;
}

int RecordGrid::rowCount() const {
    return dataSet_ != nullptr && dataSet_->active() ? dataSet_->recordCount() : 0;
}

int RecordGrid::currentRow() const {
    return dataSet_ != nullptr && dataSet_->active() ? dataSet_->recNo() : 0;
}

int RecordGrid::currentCell() const {
    if (dataSet_ == nullptr || !dataSet_->active()) {
        return -1;
    }
    // An open table without rows still shows its box in the first cell.
    return hasRows() ? currentRow() - topRow_ : 0;
}

// Change notices. The grid redraws at once, so a rebuild shows its pictures one by one.
void RecordGrid::dataChanged(DataChange change) {
    forgetPictures(change);
    if (change == DataChange::FieldChanged) {
        // Only the current row's own fields changed: nothing moves, at most its picture.
        if (loadLivePicture() && dbImage1_->isVisible()) {
            dbImage1_->repaint();
        }
        return;
    }
    if (change == DataChange::Opened) {
        everOpened_ = true;
    }
    if (change == DataChange::Opened || change == DataChange::Closed ||
        change == DataChange::Emptied) {
        topRow_ = 1;
    }
    const bool everything = change != DataChange::RowAppended && change != DataChange::RowPosted &&
                            change != DataChange::CurrentRowMoved;
    lastChange_ = change;
    followCurrentRow();
    placeLiveCell();
    if (change == DataChange::RowAppended || change == DataChange::RowPosted) {
        // A rebuild adds its rows one after another within one event: the bar follows once
        // that event is done. Every change of its range repaints it with the next redraw,
        // and painting it after every row cost more than the rows' pictures.
        if (!scrollBarFollowing_) {
            scrollBarFollowing_ = true;
            QTimer::singleShot(0, this, [this] {
                scrollBarFollowing_ = false;
                updateScrollBar();
            });
        }
    } else {
        updateScrollBar();
    }
    // A picture that cannot be read is an error of the action that made its row current, but
    // the grid is redrawn first.
    std::exception_ptr failure;
    try {
        loadLivePicture();
    } catch (...) {
        failure = std::current_exception();
    }
    redrawNow(everything);
    if (failure) {
        std::rethrow_exception(failure);
    }
}

void RecordGrid::forgetPictures(DataChange change) {
    switch (change) {
        case DataChange::CurrentRowMoved:
        case DataChange::RowAppended:
            // No row moved: the row the live box showed keeps its picture as a copy.
            if (liveLoaded_ && liveRow_ >= 1) {
                pictures_.emplace(liveRow_, dbImage1_->scaledPicture());
            }
            break;
        case DataChange::FieldChanged:
            pictures_.erase(currentRow());
            break;
        case DataChange::RowPosted:
            // A row appended at the end and stored there moves no other row.
            if (lastChange_ == DataChange::RowAppended) {
                pictures_.erase(currentRow());
            } else {
                pictures_.clear();
            }
            break;
        default:
            pictures_.clear();
            break;
    }
}

// Keeps the current row on the page, scrolling by whole lines so the columns keep their
// alignment; the page never begins before the first row nor ends past the last.
void RecordGrid::followCurrentRow() {
    const int count = rowCount();
    const int current = currentRow();
    if (current >= 1) {
        if (current < topRow_) {
            topRow_ -= kColumns * ceilDiv(topRow_ - current, kColumns);
        } else if (current > topRow_ + kCells - 1) {
            topRow_ += kColumns * ceilDiv(current - (topRow_ + kCells - 1), kColumns);
        }
    }
    topRow_ = std::clamp(topRow_, 1, std::max(1, count - kCells + 1));
}

void RecordGrid::placeLiveCell() {
    const int cell = currentCell();
    if (cell < 0 || cell >= kCells) {
        panel9_->hide();
        return;
    }
    panel9_->move(panelRect(cell).topLeft());
    panel9_->show();
}

void RecordGrid::updateScrollBar() {
    syncingScrollBar_ = true;
    const int count = rowCount();
    if (dataSet_ == nullptr || !dataSet_->active()) {
        scrollBar_->setRange(0, kUnboundMaximum);
        scrollBar_->setValue(0);
        scrollBar_->setVisible(!everOpened_);
    } else if (count < 2) {
        scrollBar_->hide();
    } else {
        scrollBar_->setRange(1, count);
        scrollBar_->setPageStep(kCells);
        scrollBar_->setSingleStep(kColumns);
        if (!scrollBar_->isSliderDown()) {
            scrollBar_->setValue(currentRow());
            scrollBar_->setSliderPosition(currentRow());
        }
        scrollBar_->show();
    }
    syncingScrollBar_ = false;
}

bool RecordGrid::loadLivePicture() {
    Bytes photo;
    if (dataSet_ != nullptr && dataSet_->active() && currentRow() >= 1) {
        photo = dataSet_->blob(kPhotoField);
    }
    if (photo == livePhoto_ && liveLoaded_) {
        liveRow_ = currentRow();
        return false;  // the same bytes: the same picture
    }
    livePhoto_ = std::move(photo);
    liveLoaded_ = false;
    liveRow_ = currentRow();
    try {
        dbImage1_->setPicture(readPhoto(livePhoto_));
    } catch (...) {
        dbImage1_->setPicture({});
        throw;
    }
    liveLoaded_ = true;
    return true;
}

void RecordGrid::redrawNow(bool everything) {
    const int top = topRow_;
    const int count = rowCount();
    const int live = currentCell();
    QRegion changed;
    if (everything || top != shown_.top) {
        changed = rect();
    } else {
        // Only the cells whose content changed: the live cell's old and new place, and the
        // cells of rows that came or went at the end.
        const auto addCell = [&](int cell) {
            if (cell >= 0 && cell < kCells) {
                changed += cellRect(cell);
            }
        };
        addCell(shown_.live);
        addCell(live);
        for (int row = std::min(count, shown_.count) + 1; row <= std::max(count, shown_.count);
             ++row) {
            addCell(row - top);
        }
        // The scroll bar repaints itself when its range or value changes (dataChanged).
    }
    shown_ = {top, count, live};
    if (isVisible()) {
        repaint(changed);
    } else {
        update(changed);
    }
}

const QPixmap& RecordGrid::pictureOf(int row) {
    if (picturesRatio_ != devicePixelRatioF()) {
        pictures_.clear();  // drawn for another screen
        picturesRatio_ = devicePixelRatioF();
    }
    const auto known = pictures_.find(row);
    if (known != pictures_.end()) {
        return known->second;
    }
    QPixmap picture;
    try {
        picture = fitToPictureBox(readPhoto(dataSet_->blobAt(row, kPhotoField)), picturesRatio_);
    } catch (const std::exception&) {
        // A copy is only a picture: one that cannot be read shows an empty box, and its
        // error is reported when its row becomes current.
    }
    return pictures_.emplace(row, std::move(picture)).first->second;
}

void RecordGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, kColumns * kCellWidth, kLines * kCellHeight),
                     palette().color(QPalette::Window));
    const int count = rowCount();
    const int live = currentCell();
    const QColor windowColour = palette().color(QPalette::Base);
    for (int cell = 0; cell < kCells; ++cell) {
        // A redraw after an append covers a cell or two; the others would be clipped away.
        if (!event->region().intersects(cellRect(cell))) {
            continue;
        }
        drawBevel(painter, cellRect(cell), true);
        const int row = topRow_ + cell;
        if (cell != live && row <= count) {
            drawPanel(painter, panelRect(cell));
            drawPicture(painter, pictureRect(cell), pictureOf(row), windowColour);
        }
    }
    if (hasFocus() && live >= 0 && live < kCells) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(
            cellRect(live).adjusted(kFocusInset, kFocusInset, -kFocusInset - 1, -kFocusInset - 1));
    }
}

template <typename Action>
void RecordGrid::guardedAction(Action&& action) {
    guarded(desktop_ != nullptr ? *desktop_ : systemDesktop(), std::forward<Action>(action));
}

// Moving and editing.

void RecordGrid::goToRow(int target) {
    store::DataSet& rows = *dataSet_;
    if (rows.state() != DataSetState::Browse) {
        const int pending = rows.recNo();
        if (rows.modified()) {
            rows.post();
            // A stored row that moved elsewhere closes the gap it leaves.
            if (rows.recNo() != pending && target > pending) {
                --target;
            }
        } else {
            const bool inserting = rows.state() == DataSetState::Insert;
            rows.cancel();
            if (inserting && target > pending) {
                --target;
            }
        }
    }
    const int count = rows.recordCount();
    if (count > 0) {
        rows.setRecNo(std::clamp(target, 1, count));
    }
}

void RecordGrid::scrollBy(int distance) {
    const int count = rowCount();
    if (count == 0) {
        return;
    }
    // The view moves as far as it can and the current row with it, so the current cell keeps
    // its place; where the view stops, the row goes on towards the first or last row.
    topRow_ = std::clamp(topRow_ + distance, 1, std::max(1, count - kCells + 1));
    goToRow(currentRow() + distance);
    followCurrentRow();
    placeLiveCell();
    updateScrollBar();
    redrawNow(false);
}

void RecordGrid::moveForward() {
    const int current = currentRow();
    if (current < rowCount()) {
        goToRow(current + 1);
        return;
    }
    if (dataSet_->state() == DataSetState::Insert && !dataSet_->modified()) {
        return;  // already on a new blank row
    }
    appendBlankRow();
}

void RecordGrid::appendBlankRow() {
    dataSet_->append();
}

void RecordGrid::insertBlankRow() {
    dataSet_->insert();
}

void RecordGrid::deleteCurrentRow() {
    if (hasRows()) {
        dataSet_->remove();
    }
}

void RecordGrid::cancelChange() {
    if (dataSet_->state() != DataSetState::Browse) {
        dataSet_->cancel();
    }
}

void RecordGrid::scrollBarAction(int action) {
    if (syncingScrollBar_) {
        return;
    }
    setFocus(Qt::OtherFocusReason);
    if (action == QAbstractSlider::SliderMove && scrollBar_->isSliderDown()) {
        return;  // dragging has no effect until the thumb is let go
    }
    guardedAction([&] {
        if (dataSet_ == nullptr || !dataSet_->active()) {
            return;
        }
        switch (action) {
            case QAbstractSlider::SliderMove: {
                // A wheel turn over the bar: a line per turn, as the arrows scroll, instead of
                // the thumb wandering off the current row.
                const int wanted = scrollBar_->sliderPosition() - scrollBar_->value();
                if (wanted != 0) {
                    scrollBy(wanted > 0 ? kColumns : -kColumns);
                }
                break;
            }
            case QAbstractSlider::SliderSingleStepAdd:
                scrollBy(kColumns);
                break;
            case QAbstractSlider::SliderSingleStepSub:
                scrollBy(-kColumns);
                break;
            case QAbstractSlider::SliderPageStepAdd:
                scrollBy(kCells);
                break;
            case QAbstractSlider::SliderPageStepSub:
                scrollBy(-kCells);
                break;
            case QAbstractSlider::SliderToMinimum:
                goToRow(1);
                break;
            case QAbstractSlider::SliderToMaximum:
                goToRow(rowCount());
                break;
            default:
                break;
        }
    });
    // The bar shows where the current row is, whatever the action asked for.
    updateScrollBar();
}

void RecordGrid::scrollBarReleased() {
    const int position = scrollBar_->sliderPosition();
    guardedAction([&] {
        if (dataSet_ == nullptr || !dataSet_->active()) {
            return;
        }
        const int count = rowCount();
        if (position <= 1) {
            goToRow(1);
        } else if (position >= count) {
            goToRow(count);
        } else {
            goToRow(position);
        }
    });
    updateScrollBar();
}

// Mouse and keys.

void RecordGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    setFocus(Qt::MouseFocusReason);
    if (at.x() < 0 || at.y() < 0 || at.x() >= kColumns * kCellWidth ||
        at.y() >= kLines * kCellHeight) {
        return;
    }
    const int cell = (at.y() / kCellHeight) * kColumns + at.x() / kCellWidth;
    guardedAction([&] {
        const int row = topRow_ + cell;
        if (!hasRows() || row > rowCount() || row == currentRow()) {
            return;  // an empty cell, or the current cell's margin
        }
        goToRow(row);
        // The click goes on to what now lies under the pointer.
        if (currentCell() == cell && pictureRect(cell).contains(at)) {
            dbImage1_->setFocus(Qt::MouseFocusReason);
        }
    });
}

void RecordGrid::keyPressEvent(QKeyEvent* event) {
    if (dataSet_ == nullptr || !dataSet_->active()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const bool control = event->modifiers() & Qt::ControlModifier;
    bool handled = true;
    guardedAction([&] {
        const int current = currentRow();
        switch (event->key()) {
            case Qt::Key_Left:
                goToRow(current - 1);
                break;
            case Qt::Key_Right:
                moveForward();
                break;
            case Qt::Key_Up:
                goToRow(current - kColumns);
                break;
            case Qt::Key_Down:
                goToRow(current + kColumns);
                break;
            case Qt::Key_PageUp:
                scrollBy(-kCells);
                break;
            case Qt::Key_PageDown:
                scrollBy(kCells);
                break;
            case Qt::Key_Home:
                goToRow(1);
                break;
            case Qt::Key_End:
                goToRow(rowCount());
                break;
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_F2:
                dbImage1_->setFocus(Qt::OtherFocusReason);
                break;
            case Qt::Key_Escape:
                cancelChange();
                break;
            case Qt::Key_Insert:
                control ? appendBlankRow() : insertBlankRow();
                dbImage1_->setFocus(Qt::OtherFocusReason);
                break;
            case Qt::Key_Delete:
                if (control) {
                    deleteCurrentRow();
                } else {
                    handled = false;
                }
                break;
            default:
                handled = false;
                break;
        }
    });
    if (!handled) {
        QWidget::keyPressEvent(event);
    }
}

bool RecordGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != dbImage1_ || dataSet_ == nullptr || !dataSet_->active()) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        return pictureBoxKey(static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // The clipboard keys belong to the box, not to any shortcut of the window.
        auto* key = static_cast<QKeyEvent*>(event);
        const auto mods = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
        const bool clipboardKey = (mods == Qt::ControlModifier &&
                                   (key->key() == Qt::Key_C || key->key() == Qt::Key_V ||
                                    key->key() == Qt::Key_X || key->key() == Qt::Key_Insert)) ||
                                  (mods == Qt::ShiftModifier &&
                                   (key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete));
        if (clipboardKey) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool RecordGrid::pictureBoxKey(QKeyEvent* event) {
    const auto mods =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const int key = event->key();
    const auto is = [&](int wanted, Qt::KeyboardModifiers withMods) {
        return key == wanted && mods == withMods;
    };
    bool handled = true;
    guardedAction([&] {
        if (is(Qt::Key_Tab, Qt::NoModifier)) {
            moveForward();
        } else if (key == Qt::Key_Backtab || is(Qt::Key_Tab, Qt::ShiftModifier)) {
            if (currentRow() > 1) {
                goToRow(currentRow() - 1);
            }
        } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) {
            setFocus(Qt::OtherFocusReason);
        } else if (key == Qt::Key_Escape) {
            cancelChange();
            setFocus(Qt::OtherFocusReason);
        } else if (is(Qt::Key_C, Qt::ControlModifier) || is(Qt::Key_Insert, Qt::ControlModifier)) {
            copyPicture();
        } else if (is(Qt::Key_V, Qt::ControlModifier) || is(Qt::Key_Insert, Qt::ShiftModifier)) {
            pastePicture();
        } else if (is(Qt::Key_X, Qt::ControlModifier) || is(Qt::Key_Delete, Qt::ShiftModifier)) {
            cutPicture();
        } else {
            handled = false;
        }
    });
    return handled;
}

void RecordGrid::copyPicture() {
    if (!dbImage1_->picture().isNull()) {
        QGuiApplication::clipboard()->setImage(dbImage1_->picture());
    }
}

void RecordGrid::pastePicture() {
    const QImage image = QGuiApplication::clipboard()->image();
    if (!image.isNull()) {
        replacePicture(image);
    }
}

void RecordGrid::cutPicture() {
    if (dbImage1_->picture().isNull()) {
        return;
    }
    copyPicture();
    dataSet_->edit();
    dataSet_->setBlob(kPhotoField, {});
}

// The picture becomes the row's pending change; it is stored as a BMP file when the row is
// left or posted, and Esc restores the old one.
void RecordGrid::replacePicture(const QImage& image) {
    if (!hasRows()) {
        dataSet_->append();  // an empty table takes the picture as its first row
    } else {
        dataSet_->edit();
    }
    dataSet_->setBlob(kPhotoField, bitmapFileOf(image));
}

void RecordGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void RecordGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

}  // namespace qir::strokes
