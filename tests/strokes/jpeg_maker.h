// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Making JPEG files for tests and benchmarks with the same library that decodes them.

#include <functional>

#include "platform/file_io.h"

namespace qir::testing {

struct Rgb {
    unsigned char r, g, b;
};

enum class JpegKind { Colour, Grey, Cmyk };

// A baseline (or progressive) JPEG of `width` x `height` whose pixel at x, y is `pixel(x, y)`.
// Grey files take the green channel; CMYK files store C=255-r, M=255-g, Y=255-b, K=0.
Bytes makeJpeg(int width, int height, JpegKind kind, const std::function<Rgb(int, int)>& pixel,
               int quality = 85, bool progressive = false);

// A stroke picture as the store holds them: `strokes` of `total` strokes drawn on a light
// guide grid of `side` pixels, the newest stroke red, the earlier ones black, the rest grey.
Bytes makeStrokeJpeg(int side, int strokes, int total);

}  // namespace qir::testing
