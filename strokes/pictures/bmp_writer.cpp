// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/pictures/bmp_writer.h"

#include <cstdint>

namespace qir::strokes {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

class LittleEndianWriter {
  public:
    explicit LittleEndianWriter(Bytes& out) : out_(out) {}
    void u16(std::uint32_t value) {
        out_.push_back(static_cast<unsigned char>(value));
        out_.push_back(static_cast<unsigned char>(value >> 8));
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }

  private:
    Bytes& out_;
};

}  // namespace

Bytes encodeBmp(const DecodedPicture& picture) {
    const auto colourTableSize = static_cast<std::uint32_t>(picture.palette.size() * 4);
    const auto pixelDataSize = static_cast<std::uint32_t>(picture.pixels.size());
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + colourTableSize;

    Bytes file;
    file.reserve(pixelOffset + pixelDataSize);
    LittleEndianWriter write(file);
    file.push_back('B');
    file.push_back('M');
    write.u32(pixelOffset + pixelDataSize);
    write.u32(0);  // reserved
    write.u32(pixelOffset);

    write.u32(kInfoHeaderSize);
    write.u32(static_cast<std::uint32_t>(picture.width));
    write.u32(static_cast<std::uint32_t>(picture.height));  // positive: bottom row first
    write.u16(1);                                           // planes
    write.u16(static_cast<std::uint32_t>(picture.bitsPerPixel));
    write.u32(0);  // uncompressed
    write.u32(pixelDataSize);
    write.u32(0);                                                   // horizontal resolution
    write.u32(0);                                                   // vertical resolution
    write.u32(static_cast<std::uint32_t>(picture.palette.size()));  // colours used
    write.u32(0);                                                   // important colours

    for (const PaletteEntry& entry : picture.palette) {
        file.push_back(entry.blue);
        file.push_back(entry.green);
        file.push_back(entry.red);
        file.push_back(0);
    }
    file.insert(file.end(), picture.pixels.begin(), picture.pixels.end());
    return file;
}

}  // namespace qir::strokes
