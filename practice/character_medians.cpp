// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/character_medians.h"

namespace qir::practice {
namespace {

constexpr double kDataBox = 1024;
constexpr double kDataBaseline = 900;

}  // namespace

Point writingBoxPoint(const store::VectorPoint& point) {
    return {point.x / kDataBox, (kDataBaseline - point.y) / kDataBox};
}

std::vector<Polyline> characterMedians(const store::StrokeVectors& vectors) {
    std::vector<Polyline> medians;
    medians.reserve(vectors.strokes.size());
    for (const store::VectorStroke& stroke : vectors.strokes) {
        Polyline median;
        median.reserve(stroke.median.size());
        for (const store::VectorPoint& point : stroke.median) {
            median.push_back(writingBoxPoint(point));
        }
        medians.push_back(std::move(median));
    }
    return medians;
}

std::vector<QPainterPath> characterOutlines(const store::StrokeVectors& vectors) {
    std::vector<QPainterPath> outlines;
    outlines.reserve(vectors.strokes.size());
    for (const store::VectorStroke& stroke : vectors.strokes) {
        QPainterPath path;
        const auto at = [](const store::VectorPoint& point) {
            const Point p = writingBoxPoint(point);
            return QPointF(p.x, p.y);
        };
        for (const store::OutlineCommand& command : stroke.outline) {
            const auto& p = command.points;
            switch (command.verb) {
                case store::OutlineVerb::MoveTo:
                    path.moveTo(at(p[0]));
                    break;
                case store::OutlineVerb::LineTo:
                    path.lineTo(at(p[0]));
                    break;
                case store::OutlineVerb::QuadTo:
                    path.quadTo(at(p[0]), at(p[1]));
                    break;
                case store::OutlineVerb::CubicTo:
                    path.cubicTo(at(p[0]), at(p[1]), at(p[2]));
                    break;
                case store::OutlineVerb::Close:
                    path.closeSubpath();
                    break;
            }
        }
        outlines.push_back(path);
    }
    return outlines;
}

}  // namespace qir::practice
