// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Compresses 8-bit palette frames into ZMBV packets, byte for byte as FFmpeg's own ZMBV encoder
// does with the same settings: the same block search with the same scores, the same deflate
// stream. It only skips the work whose result is known beforehand: a block that has not
// changed needs no histogram, and a frame that repeats the last needs no block search at all.
// A writing clip is mostly such frames and blocks, so this takes a fraction of FFmpeg's time.

#ifndef QIR_STORE_BUILDER_INTERNALS
#error "tools/store_builder/zmbv_encoder.h is private to its folder"
#endif

#include <QSize>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace qir::tools {

struct ZmbvSettings {
    int keyInterval = 1;       // a key frame every this many frames (FFmpeg's keyint_min)
    int compressionLevel = 9;  // deflate's level, 0 to 9 (compression_level)
    int motionRange = 8;       // the block search's reach in pixels, 1 to 63 (me_range)
};

class ZmbvEncoder {
  public:
    using Palette = std::array<std::uint32_t, 256>;  // 0xAARRGGBB, as an AVFrame's PAL8 palette

    struct Packet {
        std::span<const unsigned char> bytes;  // valid until the next encode()
        bool key = false;
    };

    // Throws EncodeError for settings out of range or when deflate cannot start.
    ZmbvEncoder(QSize frameSize, const ZmbvSettings& settings);
    ~ZmbvEncoder();
    ZmbvEncoder(const ZmbvEncoder&) = delete;
    ZmbvEncoder& operator=(const ZmbvEncoder&) = delete;

    // `pixels` holds the frame's rows, `stride` bytes apart, one palette index a pixel.
    // Throws EncodeError when deflate fails.
    Packet encode(const unsigned char* pixels, std::ptrdiff_t stride, const Palette& palette);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qir::tools
