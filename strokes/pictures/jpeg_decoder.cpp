// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/pictures/jpeg_decoder.h"

#include <jerror.h>

#include <string>

#include "jpeg/error_manager.h"

namespace qir::strokes {
namespace {

constexpr int kQuantisedColours = 236;

// Owns the decompressor, so it is destroyed on every path, thrown or not.
class Decompressor {
  public:
    Decompressor() {
        info_.err = jpeg::useErrorManager(errors_);
        call([&] { jpeg_create_decompress(&info_); });
        created_ = true;
    }
    ~Decompressor() {
        if (created_) {
            jpeg_destroy_decompress(&info_);
        }
    }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;

    jpeg_decompress_struct& info() { return info_; }

    // Runs one stretch of library calls (see jpeg::runStep); a fatal error becomes JpegError.
    template <typename Step>
    void call(Step&& step) {
        if (!jpeg::runStep(errors_, std::forward<Step>(step))) {
            throw JpegError(errors_.code);
        }
    }

    [[noreturn]] void fail(int code) {
        errors_.code = code;
        throw JpegError(code);
    }

  private:
    jpeg_decompress_struct info_{};
    jpeg::ErrorManager errors_{};
    bool created_ = false;
};

std::size_t paddedRowLength(int width, int bitsPerPixel) {
    const std::size_t bytes = static_cast<std::size_t>(width) * (bitsPerPixel / 8);
    return (bytes + 3) & ~std::size_t{3};
}

}  // namespace

JpegError::JpegError(int code)
    : Error("EJPEG", "JPEG error #" + std::to_string(code)), code_(code) {}

std::size_t DecodedPicture::rowLength() const {
    return paddedRowLength(width, bitsPerPixel);
}

bool usesEightBits(bool greyscaleFile, int screenDepth) {
    return greyscaleFile || screenDepth <= 8;
}

DecodedPicture decodeJpeg(std::span<const unsigned char> jpeg, int screenDepth) {
    Decompressor decompressor;
    jpeg_decompress_struct& info = decompressor.info();

    decompressor.call([&] {
        jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
        jpeg_read_header(&info, TRUE);
    });

    if (info.image_width > kMaxPictureSide || info.image_height > kMaxPictureSide ||
        std::uint64_t{info.image_width} * info.image_height > kMaxPicturePixels) {
        decompressor.fail(JERR_IMAGE_TOO_BIG);
    }

    // Only grey and RGB output can become a bitmap; asking RGB of anything else (CMYK, YCCK)
    // lets the library refuse it with its own code.
    if (info.out_color_space != JCS_GRAYSCALE && info.out_color_space != JCS_RGB) {
        info.out_color_space = JCS_RGB;
    }
    const bool greyscale = info.out_color_space == JCS_GRAYSCALE;
    const bool eightBits = usesEightBits(greyscale, screenDepth);

    info.scale_num = 1;
    info.scale_denom = 1;
    info.dct_method = JDCT_FLOAT;
    info.do_block_smoothing = TRUE;
    info.buffered_image = FALSE;  // a progressive file decodes in one go
    if (eightBits) {
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = kQuantisedColours;
    }

    decompressor.call([&] { jpeg_start_decompress(&info); });

    DecodedPicture picture;
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    picture.bitsPerPixel = eightBits ? 8 : 24;
    const std::size_t rowLength = picture.rowLength();
    picture.pixels.assign(rowLength * picture.height, 0);

    // The library writes each scanline straight into its bitmap row, bottom row last.
    unsigned char* const pixels = picture.pixels.data();
    const int height = picture.height;
    decompressor.call([&] {
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels + rowLength * (height - 1 - info.output_scanline);
            jpeg_read_scanlines(&info, &row, 1);
        }
    });

    // The colour map lives in the library's image memory, which finishing releases.
    if (eightBits) {
        const int colours = info.actual_number_of_colors;
        picture.palette.resize(static_cast<std::size_t>(colours));
        for (int i = 0; i < colours; ++i) {
            PaletteEntry& entry = picture.palette[static_cast<std::size_t>(i)];
            if (info.out_color_components == 1) {
                entry.red = entry.green = entry.blue = info.colormap[0][i];
            } else {
                entry.red = info.colormap[0][i];
                entry.green = info.colormap[1][i];
                entry.blue = info.colormap[2][i];
            }
        }
    }
    decompressor.call([&] { jpeg_finish_decompress(&info); });
    if (!eightBits) {
        // The library's RGB order becomes the bitmap's blue, green, red.
        const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * 3;
        for (int y = 0; y < picture.height; ++y) {
            unsigned char* row = pixels + rowLength * y;
            for (std::size_t x = 0; x < rowBytes; x += 3) {
                std::swap(row[x], row[x + 2]);
            }
        }
    }
    return picture;
}

}  // namespace qir::strokes
