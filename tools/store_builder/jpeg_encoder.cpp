// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/jpeg_encoder.h"

#include <cstdlib>
#include <string>

#include "jpeg/error_manager.h"

namespace qir::tools {
namespace {

// Owns the compressor and the buffer jpeg_mem_dest allocates.
struct Compression {
    jpeg_compress_struct info{};
    jpeg::ErrorManager errors{};
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

// The library calls that compress `rgb`; a fatal error leaves them by longjmp.
void compressRows(Compression& c, const QImage& rgb, const JpegSettings& settings) {
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
}

// Returns false after a libjpeg error; the message is in c.errors.message. The calls run in
// one step that holds only plain data (see jpeg::runStep).
bool compressToMemory(Compression& c, const QImage& rgb, const JpegSettings& settings) {
    c.info.err = jpeg::useErrorManager(c.errors);
    return jpeg::runStep(c.errors, [&] { compressRows(c, rgb, settings); });
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
