// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/writing_guides.h"

#include <QPen>

namespace qir {

void paintWritingGuides(QPainter& painter, const QRectF& box, const QColor& colour,
                        bool diagonals) {
    painter.save();
    painter.fillRect(box, Qt::white);
    QPen guide(colour, 1.5);
    painter.setPen(guide);
    painter.drawRect(box);
    guide.setStyle(Qt::DashLine);
    guide.setWidthF(1);
    painter.setPen(guide);
    painter.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom()));
    painter.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
    if (diagonals) {
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
    }
    painter.restore();
}

}  // namespace qir
