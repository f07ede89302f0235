// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Each stroke's outline rasterised once into a coverage mask, so that pictures and frames
// are composed from masks instead of filling curved paths again and again.

#include <QImage>
#include <QRect>
#include <QRectF>
#include <vector>

#include "tools/store_builder/glyph.h"

namespace qir::tools {

struct StrokeMask {
    QRect bounds;                      // in image pixels; empty when the stroke is off-image
    std::vector<unsigned char> alpha;  // coverage 0..255, bounds.width() per row
    unsigned char at(int x, int y) const {
        return alpha[static_cast<std::size_t>((y - bounds.top()) * bounds.width() +
                                              (x - bounds.left()))];
    }
};

// Rasterises every stroke of `glyph` with its box mapped onto `square`, clipped to an image
// of `imageSize`, with antialiasing.
std::vector<StrokeMask> rasteriseStrokes(const Glyph& glyph, const QRectF& square, QSize imageSize);

// Blends `colour` into `image` (RGB888 or Grayscale8) with the mask's coverage.
void blendMask(QImage& image, const StrokeMask& mask, QRgb colour);

}  // namespace qir::tools
