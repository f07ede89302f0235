// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/glyph.h"

namespace qir::tools {

Glyph makeGlyph(const CharacterData& data) {
    Glyph glyph;
    for (const StrokeData& stroke : data.strokes) {
        GlyphStroke out;
        out.outline = geometry::outlinePath(stroke.outline);
        out.median = geometry::medianPolyline(stroke.median);
        out.medianLength = geometry::polylineLength(out.median);
        glyph.strokes.push_back(std::move(out));
    }
    return glyph;
}

}  // namespace qir::tools
