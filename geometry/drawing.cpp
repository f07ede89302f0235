// SPDX-License-Identifier: GPL-3.0-or-later
#include "geometry/drawing.h"

#include <QLineF>

namespace qir::geometry {

QPointF toDrawing(const Point& point) {
    return {point.x, kBaseline - point.y};
}

QPainterPath outlinePath(const std::vector<OutlineCommand>& outline) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const OutlineCommand& command : outline) {
        const auto& p = command.points;
        switch (command.verb) {
            case OutlineVerb::MoveTo:
                path.moveTo(toDrawing(p[0]));
                break;
            case OutlineVerb::LineTo:
                path.lineTo(toDrawing(p[0]));
                break;
            case OutlineVerb::QuadTo:
                path.quadTo(toDrawing(p[0]), toDrawing(p[1]));
                break;
            case OutlineVerb::CubicTo:
                path.cubicTo(toDrawing(p[0]), toDrawing(p[1]), toDrawing(p[2]));
                break;
            case OutlineVerb::Close:
                path.closeSubpath();
                break;
        }
    }
    return path;
}

QPolygonF medianPolyline(const std::vector<Point>& median) {
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(median.size()));
    for (const Point& point : median) {
        line << toDrawing(point);
    }
    return line;
}

DrawnStrokes drawnStrokes(const CharacterStrokes& strokes) {
    DrawnStrokes drawn;
    for (const Stroke& stroke : strokes.strokes) {
        drawn.outlines.push_back(outlinePath(stroke.outline));
        drawn.medians.push_back(medianPolyline(stroke.median));
    }
    return drawn;
}

double polylineLength(const QPolygonF& line) {
    double length = 0;
    for (qsizetype i = 1; i < line.size(); ++i) {
        length += QLineF(line[i - 1], line[i]).length();
    }
    return length;
}

QPolygonF polylinePrefix(const QPolygonF& line, double length) {
    QPolygonF prefix;
    if (line.isEmpty()) {
        return prefix;
    }
    prefix << line[0];
    double travelled = 0;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QLineF segment(line[i - 1], line[i]);
        const double remaining = length - travelled;
        if (remaining <= 0) {
            break;
        }
        if (segment.length() >= remaining) {
            prefix << segment.pointAt(segment.length() > 0 ? remaining / segment.length() : 1);
            break;
        }
        prefix << line[i];
        travelled += segment.length();
    }
    return prefix;
}

QTransform boxToSquare(const QRectF& square, double inset) {
    const double scale = (square.width() - 2 * inset) / kDataBox;
    return QTransform(scale, 0, 0, scale, square.left() + inset, square.top() + inset);
}

}  // namespace qir::geometry
