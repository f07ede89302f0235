// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the picture a stroke display row stores in its Photo field.

#include <QImage>
#include <span>

namespace qir::strokes {

// The bytes of a BMP file, optionally behind an 8-byte header (16-bit 1, 16-bit 256, 32-bit
// length of what follows), which is skipped. An empty field is an empty picture. Throws
// StreamReadError or InvalidGraphicError for what is not a whole BMP file.
QImage readPhoto(std::span<const unsigned char> bytes);

}  // namespace qir::strokes
