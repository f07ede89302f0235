// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Encodes greyscale frames as an AVI file in memory: ZMBV video (lossless, 8-bit palette),
// muxed with the bit-exact flags so the same frames always give the same bytes.

#ifndef QIR_STORE_BUILDER_INTERNALS
#error "tools/store_builder/avi_clip_encoder.h is private to its folder"
#endif

#include <QImage>
#include <QSize>
#include <memory>
#include <stdexcept>
#include <vector>

namespace qir::tools {

class EncodeError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class AviClipEncoder {
  public:
    AviClipEncoder(QSize frameSize, int framesPerSecond);
    ~AviClipEncoder();
    AviClipEncoder(const AviClipEncoder&) = delete;
    AviClipEncoder& operator=(const AviClipEncoder&) = delete;

    // `frame` must be Grayscale8 of the clip's size.
    void addFrame(const QImage& frame);
    // Flushes the encoder and closes the file; the encoder cannot take frames afterwards.
    std::vector<unsigned char> finish();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qir::tools
