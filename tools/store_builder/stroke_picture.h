#pragma once
// The picture of one stroke step: strokes written so far in black, the newest in red, the
// ones still to come in light grey, on a 田字格 guide.

#include <QImage>

#include "tools/store_builder/glyph.h"
#include "tools/store_builder/render_style.h"

namespace qir::tools {

// The grid shows each picture in a 62 x 62 box; drawing at that size needs no scaling there.
inline constexpr int kStepPictureSize = 62;

// `newest` is the 0-based stroke the step adds. Returns an RGB888 picture of size x size.
QImage renderStrokeStep(const Glyph& glyph, int newest, int size = kStepPictureSize,
                        const RenderStyle& style = pictureStyle());

}  // namespace qir::tools
