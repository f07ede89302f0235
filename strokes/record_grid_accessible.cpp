// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/record_grid_accessible.h"

#include <QPointer>
#include <algorithm>

#include "strokes/record_grid.h"

namespace qir::strokes {
namespace {

int stepsOnPage(const RecordGrid& grid) {
    return std::clamp(grid.rowCount() - grid.topRow() + 1, 0, RecordGrid::kCells);
}

// One cell of the page that holds a step picture.
class StepAccessible : public QAccessibleInterface {
  public:
    StepAccessible(RecordGrid* grid, int cell) : grid_(grid), cell_(cell) {}

    bool isValid() const override { return !grid_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name || !grid_ || cell_ >= stepsOnPage(*grid_)) {
            return {};
        }
        return stepName(grid_->topRow() + cell_, grid_->rowCount());
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!grid_) {
            return {};
        }
        const QRect local = RecordGrid::cellRect(cell_);
        return QRect(grid_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!grid_) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.selected = grid_->currentCell() == cell_;
        state.focused = state.selected && grid_->hasFocus();
        state.invisible = !grid_->isVisible();
        return state;
    }

  private:
    QPointer<RecordGrid> grid_;
    int cell_;
};

}  // namespace

QString stepName(int step, int steps) {
    return RecordGrid::tr("第%1笔 / step %1 of %2").arg(step).arg(steps);
}

RecordGridAccessible::RecordGridAccessible(RecordGrid* grid)
    : QAccessibleWidget(grid, QAccessible::List) {}

RecordGridAccessible::~RecordGridAccessible() {
    for (QAccessible::Id id : cells_) {
        QAccessible::deleteAccessibleInterface(id);
    }
}

RecordGrid* RecordGridAccessible::grid() const {
    return static_cast<RecordGrid*>(widget());
}

int RecordGridAccessible::childCount() const {
    return stepsOnPage(*grid());
}

QAccessibleInterface* RecordGridAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) {
        return nullptr;
    }
    if (cells_.isEmpty()) {
        for (int cell = 0; cell < RecordGrid::kCells; ++cell) {
            cells_.append(
                QAccessible::registerAccessibleInterface(new StepAccessible(grid(), cell)));
        }
    }
    return QAccessible::accessibleInterface(cells_.at(index));
}

int RecordGridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const int count = childCount();
    for (int index = 0; index < count; ++index) {
        if (this->child(index) == child) {
            return index;
        }
    }
    return -1;
}

QAccessibleInterface* RecordGridAccessible::childAt(int x, int y) const {
    const int count = childCount();
    for (int index = 0; index < count; ++index) {
        QAccessibleInterface* cell = child(index);
        if (cell->rect().contains(x, y)) {
            return cell;
        }
    }
    return nullptr;
}

QAccessibleInterface* recordGridAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(RecordGrid::staticMetaObject.className())) {
        if (auto* grid = qobject_cast<RecordGrid*>(object)) {
            return new RecordGridAccessible(grid);
        }
    }
    return nullptr;
}

}  // namespace qir::strokes
