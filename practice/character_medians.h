// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place that reads the store's stroke vectors for practice: each stroke's median and
// outline, in writing order, in the writing box (side 1, y down).

#include <QPainterPath>
#include <vector>

#include "practice/geometry.h"
#include "store/stroke_vectors.h"

namespace qir::practice {

// The data's 1024 box with y up becomes the writing box: (x, y) goes to (x, 900 - y) / 1024.
Point writingBoxPoint(const store::VectorPoint& point);

std::vector<Polyline> characterMedians(const store::StrokeVectors& vectors);

std::vector<QPainterPath> characterOutlines(const store::StrokeVectors& vectors);

}  // namespace qir::practice
