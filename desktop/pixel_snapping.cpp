// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/pixel_snapping.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace qir {

QRectF snappedToDevicePixels(const QPainter& painter, const QRectF& logical) {
    const QTransform toDevice = painter.deviceTransform();
    if (toDevice.type() > QTransform::TxScale) {
        return logical;  // rotated or sheared: no pixel grid to meet
    }
    const QRectF device = toDevice.mapRect(logical);
    const qreal left = std::round(device.left());
    const qreal top = std::round(device.top());
    const qreal right = std::max(std::round(device.right()), left + 1);
    const qreal bottom = std::max(std::round(device.bottom()), top + 1);
    return toDevice.inverted().mapRect(QRectF(left, top, right - left, bottom - top));
}

void fillSnapped(QPainter& painter, const QRect& logical, const QColor& colour) {
    const bool antialiased = painter.testRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(snappedToDevicePixels(painter, QRectF(logical)), colour);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
}

void drawSnappedEdge(QPainter& painter, const QRect& rect, const QColor& topLeft,
                     const QColor& bottomRight) {
    fillSnapped(painter, QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
    fillSnapped(painter, QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
    fillSnapped(painter, QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    fillSnapped(painter, QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
}

}  // namespace qir
