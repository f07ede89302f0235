// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/glyph_drawing.h"

#include <QLineF>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "sheet/sheet_style.h"

namespace qir::sheet {
namespace {

// The way a median sets off: the unit vector from its start towards the point `reach` along
// it, or straight down when it does not move.
QPointF headingOf(const QPolygonF& median, double reach) {
    double travelled = 0;
    for (qsizetype i = 1; i < median.size(); ++i) {
        travelled += QLineF(median[i - 1], median[i]).length();
        if (travelled >= reach || i + 1 == median.size()) {
            const QLineF heading(median.front(), median[i]);
            if (heading.length() > 0) {
                return (heading.p2() - heading.p1()) / heading.length();
            }
        }
    }
    return {0, 1};
}

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
                 int last, const QColor& colour) {
    const QTransform transform = glyphTransform(square);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    for (int i = std::max(0, first); i < std::min(last, glyph.strokeCount()); ++i) {
        painter.drawPath(onWholeUnits(transform.map(glyph.outlines[static_cast<std::size_t>(i)])));
    }
    painter.restore();
}

void drawGuide(QPainter& painter, const QRectF& square, double unit) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    QPen cross(style::kGuideCross, style::kGuideCrossWidth * unit, Qt::CustomDashLine);
    cross.setDashPattern({6, 4});
    cross.setCapStyle(Qt::FlatCap);
    painter.setPen(cross);
    const QPointF centre = square.center();
    painter.drawLine(QPointF(square.left(), centre.y()), QPointF(square.right(), centre.y()));
    painter.drawLine(QPointF(centre.x(), square.top()), QPointF(centre.x(), square.bottom()));
    painter.setPen(QPen(style::kGuideFrame, style::kGuideFrameWidth * unit));
    painter.drawRect(square);
    painter.restore();
}

void drawStartMark(QPainter& painter, const GlyphShapes& glyph, const QRectF& square, int stroke,
                   int number, double diameter) {
    if (stroke < 0 || stroke >= glyph.strokeCount()) {
        return;
    }
    const QPolygonF median =
        glyphTransform(square).map(glyph.medians[static_cast<std::size_t>(stroke)]);
    if (median.isEmpty()) {
        return;
    }
    // A drop whose point touches the stroke's start and points the way the stroke goes; its
    // round part lies just before the start, so that even a short dot stays visible.
    const double radius = diameter / 2;
    const double reach = 1.7 * radius;  // from the drop's centre to its point
    const QPointF heading = headingOf(median, diameter);
    QPointF centre = median.front() - heading * (reach - 0.35 * radius);
    centre.setX(std::clamp(centre.x(), square.left() + radius, square.right() - radius));
    centre.setY(std::clamp(centre.y(), square.top() + radius, square.bottom() - radius));
    const QPointF across(-heading.y(), heading.x());
    const double cosine = radius / reach;
    const double sine = std::sqrt(1 - cosine * cosine);
    const QPointF tip = centre + heading * reach;
    QPainterPath drop;
    drop.setFillRule(Qt::WindingFill);
    drop.addEllipse(centre, radius, radius);
    drop.addPolygon(QPolygonF{{centre + radius * (heading * cosine + across * sine), tip,
                               centre + radius * (heading * cosine - across * sine)}});
    drop.closeSubpath();

    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(style::kStartMark);
    painter.drawPath(drop);
    const QString text = QString::number(number);
    QFont font = style::textFont(1, true);
    font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(diameter * (text.size() > 1 ? 0.58 : 0.7)))));
    painter.setFont(font);
    painter.setPen(style::kStartNumber);
    painter.drawText(QRectF(centre - QPointF(radius, radius), QSizeF(diameter, diameter)),
                     Qt::AlignCenter, text);
    painter.restore();
}

}  // namespace qir::sheet
