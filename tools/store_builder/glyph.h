// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A character's strokes in drawing coordinates: the data's 1024 x 1024 box with y pointing
// down (screen y = 900 - data y), ready for QPainter.

#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>
#include <vector>

#include "tools/store_builder/character_data.h"

namespace qir::tools {

inline constexpr double kGlyphBox = 1024.0;

struct GlyphStroke {
    QPainterPath outline;
    QPolygonF median;
    double medianLength = 0;
};

struct Glyph {
    std::vector<GlyphStroke> strokes;
};

Glyph makeGlyph(const CharacterData& data);

QPainterPath toPainterPath(const std::vector<PathCommand>& commands);

// Maps the glyph box onto `square`.
QTransform glyphToSquare(const QRectF& square);

// The median cut off after `length` units of travel from its start.
QPolygonF medianPrefix(const QPolygonF& median, double length);

}  // namespace qir::tools
