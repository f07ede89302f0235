// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/pictures/photo_reader.h"

#include <cstdint>

#include "platform/bitmap.h"

namespace qir::strokes {
namespace {

constexpr std::size_t kHeaderSize = 8;

bool hasGraphicHeader(std::span<const unsigned char> bytes) {
    if (bytes.size() < kHeaderSize) {
        return false;
    }
    const auto u16 = [&](std::size_t at) { return bytes[at] | bytes[at + 1] << 8; };
    const std::uint32_t length =
        static_cast<std::uint32_t>(u16(4)) | static_cast<std::uint32_t>(u16(6)) << 16;
    return u16(0) == 1 && u16(2) == 256 && length == bytes.size() - kHeaderSize;
}

}  // namespace

QImage readPhoto(std::span<const unsigned char> bytes) {
    if (hasGraphicHeader(bytes)) {
        bytes = bytes.subspan(kHeaderSize);
    }
    return decodeBitmap(bytes);
}

}  // namespace qir::strokes
