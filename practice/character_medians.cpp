// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/character_medians.h"

#include <QTransform>

#include "geometry/drawing.h"

namespace qir::practice {
namespace {

// The drawing box (geometry/drawing.h) shrunk to the writing box's side of 1.
const QTransform& toWritingBox() {
    static const QTransform scale =
        QTransform::fromScale(1 / geometry::kDataBox, 1 / geometry::kDataBox);
    return scale;
}

}  // namespace

Point writingBoxPoint(const store::VectorPoint& point) {
    const QPointF at = toWritingBox().map(geometry::toDrawing(point));
    return {at.x(), at.y()};
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
        outlines.push_back(toWritingBox().map(geometry::outlinePath(stroke.outline)));
    }
    return outlines;
}

}  // namespace qir::practice
