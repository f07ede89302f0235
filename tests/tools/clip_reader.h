// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Decodes an AVI clip held in memory back into pictures, for checking what the builder made.

#include <QImage>
#include <string>
#include <vector>

namespace qir::testing {

struct DecodedClip {
    std::string codecName;
    int width = 0;
    int height = 0;
    double framesPerSecond = 0;
    std::vector<QImage> frames;    // RGB32
    std::vector<bool> keyPackets;  // per packet of the video stream: a key frame?
};

// Throws std::runtime_error when FFmpeg cannot read the clip.
DecodedClip decodeClip(const std::vector<unsigned char>& avi);

}  // namespace qir::testing
