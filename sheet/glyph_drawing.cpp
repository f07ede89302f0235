// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/glyph_drawing.h"

#include <QLineF>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "sheet/sheet_style.h"

namespace qir::sheet {
namespace {

// The path with every point on a whole device unit: a 1200th of an inch is far below what
// paper shows, and whole numbers make a PDF's page a quarter of the size, and quicker to
// write.
QPainterPath onWholeUnits(QPainterPath path) {
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        path.setElementPositionAt(i, std::round(element.x), std::round(element.y));
    }
    return path;
}

}  // namespace

QTransform glyphTransform(const QRectF& square) {
    return geometry::boxToSquare(square, square.width() * style::kGlyphInset);
}

void fillStrokes(QPainter& painter, const GlyphShapes& glyph, const QRectF& square, int first,
                 int last, const QColor& colour, const QPen& edge) {
    const QTransform transform = glyphTransform(square);
    painter.save();
    painter.setPen(edge);
    painter.setBrush(colour);
    for (int i = std::max(0, first); i < std::min(last, glyph.strokeCount()); ++i) {
        painter.drawPath(onWholeUnits(transform.map(glyph.outlines[static_cast<std::size_t>(i)])));
    }
    painter.restore();
}

void drawGuide(QPainter& painter, const QRectF& square, double unit, Grid grid) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    QPen cross(style::kGuideCross, style::kGuideCrossWidth * unit, Qt::CustomDashLine);
    cross.setDashPattern({6, 4});
    cross.setCapStyle(Qt::FlatCap);
    painter.setPen(cross);
    const auto across = [&](double share) {
        const double y = square.top() + share * square.height();
        painter.drawLine(QPointF(square.left(), y), QPointF(square.right(), y));
        const double x = square.left() + share * square.width();
        painter.drawLine(QPointF(x, square.top()), QPointF(x, square.bottom()));
    };
    switch (grid) {
        case Grid::Mi:
            painter.drawLine(square.topLeft(), square.bottomRight());
            painter.drawLine(square.topRight(), square.bottomLeft());
            across(0.5);
            break;
        case Grid::Tian:
            across(0.5);
            break;
        case Grid::Jiu:
            across(1.0 / 3);
            across(2.0 / 3);
            break;
        case Grid::Plain:
            break;
    }
    painter.setPen(QPen(style::kGuideFrame, style::kGuideFrameWidth * unit));
    painter.drawRect(square);
    painter.restore();
}

void drawStartMark(QPainter& painter, const MarkPlace& mark, int number, double unit) {
    painter.save();
    if (mark.leader()) {
        QPen leader(style::kStartMark, style::kLeaderWidth * unit);
        leader.setCapStyle(Qt::RoundCap);
        painter.setPen(leader);
        painter.drawLine(mark.tip(), mark.start);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::kStartMark);
    painter.drawPath(markShape(mark));
    const QString text = QString::number(number);
    const double diameter = 2 * mark.radius;
    QFont font = style::textFont(1, true);
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(diameter * (text.size() > 1 ? 0.58 : 0.7)))));
    painter.setFont(font);
    painter.setPen(style::kStartNumber);
    painter.drawText(
        QRectF(mark.centre - QPointF(mark.radius, mark.radius), QSizeF(diameter, diameter)),
        Qt::AlignCenter, text);
    painter.restore();
}

}  // namespace qir::sheet
