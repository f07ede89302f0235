// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/glyph.h"

#include <QLineF>

namespace qir::tools {
namespace {

QPointF toScreen(const PathPoint& p) {
    return {p.x, 900.0 - p.y};
}

}  // namespace

QPainterPath toPainterPath(const std::vector<PathCommand>& commands) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const PathCommand& command : commands) {
        const auto& p = command.points;
        switch (command.verb) {
            case PathVerb::MoveTo:
                path.moveTo(toScreen(p[0]));
                break;
            case PathVerb::LineTo:
                path.lineTo(toScreen(p[0]));
                break;
            case PathVerb::QuadTo:
                path.quadTo(toScreen(p[0]), toScreen(p[1]));
                break;
            case PathVerb::CubicTo:
                path.cubicTo(toScreen(p[0]), toScreen(p[1]), toScreen(p[2]));
                break;
            case PathVerb::Close:
                path.closeSubpath();
                break;
        }
    }
    return path;
}

Glyph makeGlyph(const CharacterData& data) {
    Glyph glyph;
    for (const StrokeData& stroke : data.strokes) {
        GlyphStroke out;
        out.outline = toPainterPath(stroke.outline);
        for (const PathPoint& point : stroke.median) {
            out.median << toScreen(point);
        }
        for (qsizetype i = 1; i < out.median.size(); ++i) {
            out.medianLength += QLineF(out.median[i - 1], out.median[i]).length();
        }
        glyph.strokes.push_back(std::move(out));
    }
    return glyph;
}

QTransform glyphToSquare(const QRectF& square) {
    const double scale = square.width() / kGlyphBox;
    return QTransform(scale, 0, 0, scale, square.left(), square.top());
}

QPolygonF medianPrefix(const QPolygonF& median, double length) {
    QPolygonF prefix;
    if (median.isEmpty()) {
        return prefix;
    }
    prefix << median[0];
    double travelled = 0;
    for (qsizetype i = 1; i < median.size(); ++i) {
        const QLineF segment(median[i - 1], median[i]);
        const double remaining = length - travelled;
        if (remaining <= 0) {
            break;
        }
        if (segment.length() >= remaining) {
            prefix << segment.pointAt(segment.length() > 0 ? remaining / segment.length() : 1);
            break;
        }
        prefix << median[i];
        travelled += segment.length();
    }
    return prefix;
}

}  // namespace qir::tools
