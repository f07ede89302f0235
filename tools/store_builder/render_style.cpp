// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/render_style.h"

#include <QPen>
#include <algorithm>
#include <cmath>

namespace qir::tools {

void drawGuide(QPainter& painter, const QRectF& square, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Lines on pixel centres stay one pixel wide and crisp at every size.
    const QRectF frame = square.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(colour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    QPen dashed(colour, 1, Qt::CustomDashLine);
    const double dash = std::max(2.0, square.width() / 30.0);
    dashed.setDashPattern({dash, dash});
    painter.setPen(dashed);
    const double midX = std::floor(frame.center().x()) + 0.5;
    const double midY = std::floor(frame.center().y()) + 0.5;
    painter.drawLine(QPointF(midX, frame.top()), QPointF(midX, frame.bottom()));
    painter.drawLine(QPointF(frame.left(), midY), QPointF(frame.right(), midY));
    painter.restore();
}

}  // namespace qir::tools
