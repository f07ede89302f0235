// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A character's strokes in drawing coordinates: the data's 1024 x 1024 box with y pointing
// down (screen y = 900 - data y), ready for QPainter.

#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>
#include <vector>

#include "geometry/drawing.h"
#include "tools/store_builder/character_data.h"

namespace qir::tools {

struct GlyphStroke {
    QPainterPath outline;
    QPolygonF median;
    double medianLength = 0;
};

struct Glyph {
    std::vector<GlyphStroke> strokes;
};

Glyph makeGlyph(const CharacterData& data);

// Maps the glyph box onto `square`.
inline QTransform glyphToSquare(const QRectF& square) {
    return geometry::boxToSquare(square);
}

}  // namespace qir::tools
