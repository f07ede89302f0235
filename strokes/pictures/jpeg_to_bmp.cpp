// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/pictures/jpeg_to_bmp.h"

#include <filesystem>

#include "platform/file_io.h"
#include "strokes/pictures/bmp_writer.h"
#include "strokes/pictures/jpeg_decoder.h"

namespace qir::strokes {
namespace {

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

Bytes jpegToBmp(std::span<const unsigned char> jpeg, int screenDepth) {
    return encodeBmp(decodeJpeg(jpeg, screenDepth));
}

void ConvertJpegToBmp(const std::string& fileName, int screenDepth) {
    if (!sameFile(fileName, kJpegCopyFile) && !copyFileOver(fileName, kJpegCopyFile)) {
        // A copy left from an earlier picture must not be decoded in this one's place.
        deleteFile(kJpegCopyFile);
    }
    const Bytes jpeg = readFileBytes(kJpegCopyFile);
    // The copy takes over a read-only mode from its source; clear it even when the file then
    // turns out not to be a JPEG, so the next copy can replace it.
    setArchiveOnly(kJpegCopyFile);
    const Bytes bitmap = jpegToBmp(jpeg, screenDepth);
    writeFileBytes(kBitmapFile, bitmap);
}

}  // namespace qir::strokes
