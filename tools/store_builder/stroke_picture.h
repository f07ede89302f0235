// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures of a character's stroke steps: strokes written so far in black, the newest in
// red, the ones still to come in light grey, on a 田字格 guide.

#include <QImage>
#include <vector>

#include "tools/store_builder/glyph.h"
#include "tools/store_builder/render_style.h"

namespace qir::tools {

// The grid shows each picture in a 62 x 62 box; drawing at that size needs no scaling there.
inline constexpr int kStepPictureSize = 62;

// One RGB888 picture of size x size per stroke, in stroke order.
std::vector<QImage> renderStrokeSteps(const Glyph& glyph, int size = kStepPictureSize,
                                      const RenderStyle& style = pictureStyle());

}  // namespace qir::tools
