// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a decoded picture as a Windows BMP file with the 40-byte information header.

#ifndef QIR_STROKES_INTERNALS
#error "strokes/pictures/bmp_writer.h is private to its folder"
#endif

#include "platform/file_io.h"
#include "strokes/pictures/jpeg_decoder.h"

namespace qir::strokes {

// The whole file: file header, information header, the colour table at 8 bits (the quantised
// colours, one entry each), then the pixel rows as they stand.
Bytes encodeBmp(const DecodedPicture& picture);

}  // namespace qir::strokes
