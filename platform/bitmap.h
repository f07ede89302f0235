// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading Windows BMP files with the program's error texts.

#include <QImage>
#include <span>
#include <string>

namespace qir {

// Decodes a BMP file's bytes. An empty input is an empty picture (a null QImage), not an
// error. Fewer bytes than the 14-byte file header: StreamReadError. No "BM" signature:
// InvalidGraphicError. Malformed or cut-short headers or pixels: one of those two.
QImage decodeBitmap(std::span<const unsigned char> bytes);

// Reads and decodes a BMP file; a missing or unreadable file throws FileOpenError(name).
QImage loadBitmapFile(const std::string& name);

}  // namespace qir
