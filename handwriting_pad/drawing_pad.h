// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The square pad a character is drawn on: 田字格 guides and the strokes drawn so far. Mouse,
// pen and one finger draw, as in the practice window's writing box.

#include <QWidget>

#include "desktop/stroke_input.h"
#include "handwriting/ink.h"

namespace qir::handwriting_pad {

class DrawingPad : public QWidget, private StrokeReceiver {
    Q_OBJECT
  public:
    explicit DrawingPad(QWidget* parent = nullptr);

    // The strokes to show (box side 1, y down).
    void setInk(handwriting::Ink ink);
    const handwriting::Ink& ink() const { return ink_; }

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }
    // The pad's square in the widget's pixels.
    QRectF boxRect() const;

  signals:
    void strokeDrawn(const handwriting::Polyline& stroke);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

  private:
    handwriting::Point toBox(QPointF position) const;
    void begin(QPointF position, double pressure) override;
    void extend(QPointF position, double pressure) override;
    void finish(QPointF position, double pressure) override;

    handwriting::Ink ink_;
    handwriting::Polyline drawing_;
    bool down_ = false;
    StrokeInput input_;  // mouse, pen and the first finger down
};

}  // namespace qir::handwriting_pad
