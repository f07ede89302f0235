// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation/video_surface.h"

#include <QPainter>

namespace qir::animation {

VideoSurface::VideoSurface(QWidget* display, QSize size) : QWidget(display) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(QRect(QPoint(0, 0), size));
    show();
}

void VideoSurface::setPicture(const QImage& picture) {
    // Pictures of one clip share their data; comparing the pointer skips repaints of a
    // repeated frame.
    if (picture.constBits() == picture_.constBits()) {
        return;
    }
    picture_ = picture;
    update();
}

void VideoSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // The clip's frames are drawn at its own size; on a screen of more device pixels than
    // logical ones they are scaled smoothly rather than pixel-doubled.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, devicePixelRatioF() != 1.0);
    painter.drawImage(QPoint(0, 0), picture_);
}

}  // namespace qir::animation
