// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stroke grid as assistive technology sees it: a list of the step pictures on the page,
// each named with its step and the character's number of steps. The grid paints every cell
// but the current one itself, so the cells have no widgets of their own.

#include <QAccessibleWidget>
#include <QList>

namespace qir::strokes {

class RecordGrid;

class RecordGridAccessible : public QAccessibleWidget {
  public:
    explicit RecordGridAccessible(RecordGrid* grid);
    ~RecordGridAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

  private:
    RecordGrid* grid() const;
    mutable QList<QAccessible::Id> cells_;
};

// The name of step `step` of `steps`.
QString stepName(int step, int steps);

QAccessibleInterface* recordGridAccessibleFactory(const QString& className, QObject* object);

}  // namespace qir::strokes
