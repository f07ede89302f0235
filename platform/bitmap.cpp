// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/bitmap.h"

#include <cstdint>

#include "platform/errors.h"
#include "platform/file_io.h"

namespace qir {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderMinSize = 12;  // the old core header is the smallest

std::uint32_t readU32(std::span<const unsigned char> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

}  // namespace

QImage decodeBitmap(std::span<const unsigned char> bytes) {
    if (bytes.empty()) {
        return {};
    }
    if (bytes.size() < kFileHeaderSize) {
        throw StreamReadError();
    }
    if (bytes[0] != 'B' || bytes[1] != 'M') {
        throw InvalidGraphicError();
    }
    if (bytes.size() < kFileHeaderSize + 4) {
        throw StreamReadError();
    }
    const std::uint32_t headerSize = readU32(bytes, kFileHeaderSize);
    if (headerSize < kInfoHeaderMinSize) {
        throw InvalidGraphicError();
    }
    if (bytes.size() < kFileHeaderSize + headerSize) {
        throw StreamReadError();
    }
    const std::uint32_t pixelOffset = readU32(bytes, 10);
    if (pixelOffset > bytes.size()) {
        throw StreamReadError();
    }
    QImage image;
    if (!image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")) {
        throw InvalidGraphicError();
    }
    return image;
}

QImage loadBitmapFile(const std::string& name) {
    const Bytes bytes = readFileBytes(name);
    return decodeBitmap(bytes);
}

}  // namespace qir
