// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/jpeg_encoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" {
#include <jpeglib.h>
}

namespace qir::tools {
namespace {

// libjpeg's error exit must not unwind C++ frames: it jumps back to compressToMemory, which
// holds only plain data, and the error becomes an exception once back in C++ code.
struct JumpingErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void jumpOnError(j_common_ptr info) {
    auto* manager = reinterpret_cast<JumpingErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

extern "C" void ignoreMessage(j_common_ptr) {}

// Owns the compressor and the buffer jpeg_mem_dest allocates.
struct Compression {
    jpeg_compress_struct info{};
    JumpingErrorManager errors{};
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    bool created = false;

    Compression() = default;
    Compression(const Compression&) = delete;
    Compression& operator=(const Compression&) = delete;
    ~Compression() {
        if (created) {
            jpeg_destroy_compress(&info);
        }
        std::free(output);
    }
};

// Returns false after a libjpeg error; the message is in c.errors.message.
bool compressToMemory(Compression& c, const QImage& rgb, const JpegSettings& settings) {
    c.info.err = jpeg_std_error(&c.errors.base);
    c.errors.base.error_exit = jumpOnError;
    c.errors.base.output_message = ignoreMessage;
    if (setjmp(c.errors.jump) != 0) {
        return false;
    }
    jpeg_create_compress(&c.info);
    c.created = true;
    jpeg_mem_dest(&c.info, &c.output, &c.outputSize);
    c.info.image_width = static_cast<JDIMENSION>(rgb.width());
    c.info.image_height = static_cast<JDIMENSION>(rgb.height());
    c.info.input_components = 3;
    c.info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c.info);
    jpeg_set_quality(&c.info, settings.quality, TRUE);
    if (settings.fullResolutionColour) {
        c.info.comp_info[0].h_samp_factor = 1;
        c.info.comp_info[0].v_samp_factor = 1;
    }
    // One quantisation table and one pair of Huffman tables for all three components: the
    // pictures are small, so the second set of tables would be a tenth of the file.
    for (int i = 1; i < c.info.num_components; ++i) {
        c.info.comp_info[i].dc_tbl_no = 0;
        c.info.comp_info[i].ac_tbl_no = 0;
        c.info.comp_info[i].quant_tbl_no = 0;
    }
    c.info.optimize_coding = TRUE;
    c.info.dct_method = JDCT_ISLOW;
    jpeg_start_compress(&c.info, TRUE);
    while (c.info.next_scanline < c.info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(c.info.next_scanline)));
        jpeg_write_scanlines(&c.info, &row, 1);
    }
    jpeg_finish_compress(&c.info);
    return true;
}

}  // namespace

std::vector<unsigned char> encodeJpeg(const QImage& image, const JpegSettings& settings) {
    if (image.isNull()) {
        throw JpegEncodeError("cannot compress an empty picture");
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    Compression compression;
    if (!compressToMemory(compression, rgb, settings)) {
        throw JpegEncodeError(std::string("JPEG compression failed: ") +
                              compression.errors.message);
    }
    return {compression.output, compression.output + compression.outputSize};
}

}  // namespace qir::tools
