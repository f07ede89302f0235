// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cell template's widgets: the white panel and the picture box inside it.

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace qir::strokes {

// `Panel9`: 66 x 66, white, a raised outer and a lowered inner bevel. Clicks on its bevels
// fall through to the grid, as clicks on a cell's margin.
class BevelPanel : public QWidget {
    Q_OBJECT
  public:
    explicit BevelPanel(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// `DBImage1`: shows a row's picture stretched over its 62 x 62 face, the window colour where
// there is none, and a frame while it has the keyboard focus.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    // The picture as drawn: stretched to the box.
    const QPixmap& scaledPicture() const { return scaled_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QImage picture_;
    QPixmap scaled_;
};

}  // namespace qir::strokes
