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

}  // namespace qir::practice
