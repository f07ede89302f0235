// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/cell_painting.h"

#include <QImage>
#include <QPainter>
#include <cmath>

#include "desktop/pixel_snapping.h"

namespace qir::strokes {

void drawBevel(QPainter& painter, const QRect& rect, bool raised) {
    // Solid one-pixel fills (much cheaper than pen-drawn lines on the raster engine), snapped
    // to device pixels so none vanishes at a fractional scale.
    const QColor& light = raised ? kHighlight : kShadow;
    const QColor& dark = raised ? kShadow : kHighlight;
    drawSnappedEdge(painter, rect, light, dark);
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

QPixmap fitToPictureBox(const QImage& image, qreal devicePixelRatio) {
    if (image.isNull()) {
        return {};
    }
    // Stretched both ways: the step pictures are square, the box is too.
    const int side = static_cast<int>(std::lround(kPictureSize * devicePixelRatio));
    QPixmap scaled = QPixmap::fromImage(
        image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    scaled.setDevicePixelRatio(devicePixelRatio);
    return scaled;
}

}  // namespace qir::strokes
