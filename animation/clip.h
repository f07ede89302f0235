// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A clip decoded whole: every frame as a picture, and the rate it plays at. Clips are short
// (a few seconds at a small size), so holding the pictures makes seeking and stepping exact
// and playback nearly free; the limits below keep a hostile file from asking for more.

#include <QImage>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qir::animation {

struct FrameRate {
    std::int64_t numerator = 15;  // frames per `denominator` seconds
    std::int64_t denominator = 1;
};

struct Clip {
    QSize size;
    FrameRate rate;
    // All of `size`: Format_RGB32, or Format_Indexed8 with an opaque colour table for a clip
    // of palette pictures, made full colour only when a frame is shown.
    std::vector<QImage> frames;
};

// Limits on what a clip may ask for, checked before anything of that size is allocated.
inline constexpr std::size_t kMaxClipFileBytes = 64u << 20;
inline constexpr int kMaxPictureSide = 2048;
inline constexpr std::size_t kMaxDecodedBytes = 256u << 20;
inline constexpr std::int64_t kMaxFrameCount = 100000;

struct ClipLoad {
    int result = 0;  // a MediaResult; the clip is valid only when 0
    Clip clip;
};

// Decodes an AVI file held in memory.
ClipLoad decodeClip(std::span<const unsigned char> bytes);

// Reads and decodes the file `fileName` (relative names resolve against the working
// directory).
ClipLoad loadClipFile(const std::string& fileName);

}  // namespace qir::animation
