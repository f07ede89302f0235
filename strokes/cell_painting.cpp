// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/cell_painting.h"

#include <QImage>
#include <QPainter>

namespace qir::strokes {

void drawBevel(QPainter& painter, const QRect& rect, bool raised) {
    // Solid one-pixel fills: much cheaper than pen-drawn lines on the raster engine.
    const QColor& light = raised ? kHighlight : kShadow;
    const QColor& dark = raised ? kShadow : kHighlight;
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), light);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), light);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), dark);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), dark);
}

void drawPanel(QPainter& painter, const QRect& rect) {
    painter.fillRect(rect, Qt::white);
    drawBevel(painter, rect, true);
    drawBevel(painter, rect.adjusted(kBevelWidth, kBevelWidth, -kBevelWidth, -kBevelWidth), false);
}

void drawPicture(QPainter& painter, const QRect& rect, const QPixmap& picture,
                 const QColor& windowColour) {
    if (picture.isNull()) {
        painter.fillRect(rect, windowColour);
    } else {
        painter.drawPixmap(rect, picture);
    }
}

QPixmap fitToPictureBox(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    // Stretched both ways: the step pictures are square, the box is too.
    return QPixmap::fromImage(
        image.scaled(kPictureSize, kPictureSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

}  // namespace qir::strokes
