// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The child window the device shows its video in: the picture at its own size from the
// display's top-left corner. Mouse events pass through to the display underneath.

#ifndef QIR_ANIMATION_INTERNALS
#error "animation/video_surface.h is private to its folder"
#endif

#include <QImage>
#include <QWidget>

namespace qir::animation {

class VideoSurface : public QWidget {
    Q_OBJECT
  public:
    VideoSurface(QWidget* display, QSize size);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};

}  // namespace qir::animation
