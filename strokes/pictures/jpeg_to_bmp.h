// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turning one stored stroke picture (a JPEG file) into the bitmap file the stroke display
// table stores, through fixed file names in the working directory.

#include <span>
#include <string>

#include "platform/file_io.h"

namespace qir::strokes {

inline const std::string kJpegCopyFile = "tmp.jpg";
inline const std::string kBitmapFile = "tmp.bmp";

// The JPEG's bytes decoded and laid out as a BMP file, with no files involved. Throws
// JpegError.
Bytes jpegToBmp(std::span<const unsigned char> jpeg, int screenDepth);

// Copies `fileName` over "tmp.jpg", reads that copy, resets its mode, decodes it and writes
// "tmp.bmp". `screenDepth` is the screen's colour depth read at start (screenColourDepth()).
// Throws JpegError ("JPEG error #n"), FileOpenError for "tmp.jpg", FileCreateError for
// "tmp.bmp"; "tmp.bmp" is not touched when decoding fails.
void ConvertJpegToBmp(const std::string& fileName, int screenDepth);

}  // namespace qir::strokes
