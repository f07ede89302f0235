// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A clip: its size, the rate it plays at, and its frames, decoded as they are asked for. Only
// the first frame is decoded when the clip opens; playback decodes the rest as it reaches
// them, and a seek starts from the nearest key frame before its target. So a 23-stroke clip
// of 184 frames costs one frame's work and memory to open, and a clip replaced before it
// plays costs no more.

#include <QImage>
#include <QSize>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace qir::animation {

struct FrameRate {
    std::int64_t numerator = 15;  // frames per `denominator` seconds
    std::int64_t denominator = 1;
};

// The frames of one clip.
class ClipFrames {
  public:
    virtual ~ClipFrames() = default;
    virtual int count() const = 0;
    // Frame `index` (0 <= index < count()) at the clip's size: Format_RGB32, or Format_Indexed8
    // with an opaque colour table for a clip of palette pictures, made full colour only when
    // shown. The first frame decoded when the clip opened; a later frame whose data turns out
    // to be damaged shows the last frame before it that decoded, as a player holds its last
    // good picture.
    virtual QImage at(int index) = 0;
};

struct Clip {
    QSize size;
    FrameRate rate;
    std::unique_ptr<ClipFrames> frames;

    int frameCount() const { return frames ? frames->count() : 0; }
};

// Limits on what a clip may ask for, checked before anything of that size is allocated.
inline constexpr std::size_t kMaxClipFileBytes = 64u << 20;
inline constexpr int kMaxPictureSide = 2048;
inline constexpr std::int64_t kMaxFrameCount = 100000;

struct ClipLoad {
    int result = 0;  // a MediaResult; the clip is valid only when 0
    Clip clip;
};

// Opens an AVI clip held in memory (the bytes need not outlive the clip): its container and
// stream are checked, its packets taken and its first frame decoded. It lives in the library
// qir_clip_decoding, the one part of the program that needs FFmpeg.
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
