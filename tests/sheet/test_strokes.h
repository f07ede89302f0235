// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Made-up characters whose strokes a test can find on the page.

#include "store/stroke_vectors.h"

namespace qir::testing {

// A rectangle stroke spanning data x from `left` to `right` and y from `bottom` to `top`
// (the data's y points up), written from `from` to `to`.
inline store::VectorStroke rectangleStroke(double left, double right, double bottom, double top,
                                           store::VectorPoint from, store::VectorPoint to) {
    using store::OutlineVerb;
    store::VectorStroke stroke;
    stroke.outline = {{OutlineVerb::MoveTo, {{left, bottom}}},
                      {OutlineVerb::LineTo, {{right, bottom}}},
                      {OutlineVerb::LineTo, {{right, top}}},
                      {OutlineVerb::LineTo, {{left, top}}},
                      {OutlineVerb::Close, {}}};
    stroke.median = {from, to};
    return stroke;
}

// Stroke 1: a tall bar on the left, x 100-300, y 0-800, written downwards. Stroke 2: a beam
// at the top right, x 500-900, y 600-800, written to the right. Nothing is drawn at the lower
// right, x 500-900, y 0-400.
inline store::StrokeVectors barAndBeam() {
    return {{rectangleStroke(100, 300, 0, 800, {200, 780}, {200, 20}),
             rectangleStroke(500, 900, 600, 800, {520, 700}, {880, 700})}};
}

}  // namespace qir::testing
