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

// Decodes an AVI file held in memory. It lives in the library qir_clip_decoding, the one part
// of the program that needs FFmpeg.
ClipLoad decodeClip(std::span<const unsigned char> bytes);

// How clips are decoded. FFmpeg's libraries are most of what a start loads, so the program
// loads decodeClip as a module of its own once its window shows (app/clip_module.h); tests
// and tools link it and set it here. Until one is set, every clip fails with kMediaNoDecoder.
using ClipDecoder = ClipLoad (*)(std::span<const unsigned char> bytes);
void setClipDecoder(ClipDecoder decoder);

// Reads the file `fileName` (relative names resolve against the working directory) and
// decodes it with the decoder set.
ClipLoad loadClipFile(const std::string& fileName);

}  // namespace qir::animation
