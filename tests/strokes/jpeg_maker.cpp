// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/strokes/jpeg_maker.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <cmath>
#include <cstdlib>
#include <vector>

namespace qir::testing {
namespace {

// Test input that cannot be compressed is a broken test; nothing may unwind through the
// library, so stop here.
[[noreturn]] void failCompress(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    std::fprintf(stderr, "makeJpeg: %s\n", text);
    std::abort();
}

}  // namespace

Bytes makeJpeg(int width, int height, JpegKind kind, const std::function<Rgb(int, int)>& pixel,
               int quality, bool progressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    errors.error_exit = failCompress;
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    const int components = kind == JpegKind::Grey ? 1 : kind == JpegKind::Cmyk ? 4 : 3;
    info.input_components = components;
    info.in_color_space = kind == JpegKind::Grey   ? JCS_GRAYSCALE
                          : kind == JpegKind::Cmyk ? JCS_CMYK
                                                   : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width * components));
    while (info.next_scanline < info.image_height) {
        const int y = static_cast<int>(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixel(x, y);
            unsigned char* p = &row[static_cast<std::size_t>(x * components)];
            if (kind == JpegKind::Grey) {
                p[0] = c.g;
            } else if (kind == JpegKind::Cmyk) {
                p[0] = 255 - c.r;
                p[1] = 255 - c.g;
                p[2] = 255 - c.b;
                p[3] = 0;
            } else {
                p[0] = c.r;
                p[1] = c.g;
                p[2] = c.b;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(out, out + size);
    std::free(out);
    jpeg_destroy_compress(&info);
    return bytes;
}

Bytes makeStrokeJpeg(int side, int strokes, int total) {
    const double cell = side / 2.0;
    return makeJpeg(side, side, JpegKind::Colour, [&](int x, int y) -> Rgb {
        // Strokes: short bars fanned around the centre, one per step.
        for (int s = total - 1; s >= 0; --s) {
            const double angle = s * 2.399963;  // golden angle spreads the bars
            const double cx = cell + std::cos(angle) * side * 0.22;
            const double cy = cell + std::sin(angle) * side * 0.22;
            const double dx = std::cos(angle * 1.7), dy = std::sin(angle * 1.7);
            const double along = (x - cx) * dx + (y - cy) * dy;
            const double across = std::abs((x - cx) * -dy + (y - cy) * dx);
            if (std::abs(along) < side * 0.18 && across < side * 0.035) {
                if (s + 1 == strokes) {
                    return {0xE0, 0x20, 0x20};
                }
                return s < strokes ? Rgb{0x10, 0x10, 0x10} : Rgb{0xC8, 0xC8, 0xC8};
            }
        }
        // The light guide grid: a frame, the two middle lines and the diagonals, dashed.
        const bool frame = x == 0 || y == 0 || x == side - 1 || y == side - 1;
        const bool middle = (x == side / 2 || y == side / 2) && (x + y) % 6 < 3;
        const bool diagonal = (x == y || x == side - 1 - y) && x % 6 < 3;
        if (frame || middle || diagonal) {
            return {0xF0, 0xB0, 0xB0};
        }
        return {0xFF, 0xFF, 0xFA};
    });
}

}  // namespace qir::testing
