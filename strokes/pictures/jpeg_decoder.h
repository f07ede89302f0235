// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decoding a JPEG held in memory into the pixel rows of a Windows bitmap, with the fixed
// decoder settings of the stroke pictures.

#ifndef QIR_STROKES_INTERNALS
#error "strokes/pictures/jpeg_decoder.h is private to its folder"
#endif

#include <cstdint>
#include <span>
#include <vector>

#include "platform/errors.h"
#include "platform/file_io.h"

namespace qir::strokes {

// A fatal decoder error, carrying the decoder's own message code.
class JpegError : public Error {
  public:
    explicit JpegError(int code);
    int code() const noexcept { return code_; }

  private:
    int code_;
};

// Pictures larger than this on either side, or in all, are refused before any pixel memory is
// taken: stroke pictures are about a hundred pixels square.
inline constexpr unsigned kMaxPictureSide = 8192;
inline constexpr std::uint64_t kMaxPicturePixels = 16u * 1024u * 1024u;

struct PaletteEntry {
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
};

// Pixels as a bitmap stores them: rows bottom to top, each padded with zeros to a multiple of
// four bytes; 3 bytes a pixel (blue, green, red) or one palette index a pixel.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;
    std::vector<PaletteEntry> palette;  // the quantised colours, only at 8 bits
    Bytes pixels;

    std::size_t rowLength() const;
};

// The depth rule: 8 bits for a greyscale file or a screen of 8 bits or less, else 24.
bool usesEightBits(bool greyscaleFile, int screenDepth);

// Full scale, floating-point inverse DCT, block smoothing, the library's own output colour
// space, and 236-colour quantising only at 8 bits. Throws JpegError on a fatal error;
// warnings are ignored, so damaged data decodes as far as the library gets.
DecodedPicture decodeJpeg(std::span<const unsigned char> jpeg, int screenDepth);

}  // namespace qir::strokes
