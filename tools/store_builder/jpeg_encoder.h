// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Compresses pictures to JPEG in memory with libjpeg.

#include <QImage>
#include <stdexcept>
#include <vector>

namespace qir::tools {

class JpegEncodeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct JpegSettings {
    int quality = 85;
    // Colour at full resolution keeps thin red strokes free of fringes.
    bool fullResolutionColour = true;
};

// Baseline JPEG with optimised Huffman tables. Any image format is accepted; it is converted
// to RGB first.
std::vector<unsigned char> encodeJpeg(const QImage& image, const JpegSettings& settings = {});

}  // namespace qir::tools
