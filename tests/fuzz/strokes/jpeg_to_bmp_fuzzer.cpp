// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes given as a stroke picture either decode into a well-formed bitmap or fail with a
// JPEG error; both screen depths are tried.
#include <cstdint>
#include <cstdlib>

#include "strokes/pictures/jpeg_decoder.h"
#include "strokes/pictures/jpeg_to_bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const int depth : {24, 8}) {
        try {
            const qir::Bytes bmp = qir::strokes::jpegToBmp({data, size}, depth);
            const std::uint32_t fileSize =
                bmp[2] | bmp[3] << 8 | bmp[4] << 16 | static_cast<std::uint32_t>(bmp[5]) << 24;
            if (bmp.size() < 54 || fileSize != bmp.size()) {
                std::abort();
            }
        } catch (const qir::strokes::JpegError&) {
        }
    }
    return 0;
}
