// SPDX-License-Identifier: GPL-3.0-or-later
#include <atomic>
#include <filesystem>

#include "animation/clip.h"
#include "animation/media_error.h"
#include "platform/errors.h"
#include "platform/file_io.h"

namespace qir::animation {
namespace {

// Set once, possibly from the thread that loads the module, read by the window's thread.
std::atomic<ClipDecoder> decoder{nullptr};

}  // namespace

void setClipDecoder(ClipDecoder chosen) {
    decoder.store(chosen);
}

ClipLoad loadClipFile(const std::string& fileName) {
    std::error_code error;
    const auto status = std::filesystem::status(fileName, error);
    if (error || !std::filesystem::is_regular_file(status)) {
        return {kMediaFileNotFound, {}};
    }
    const auto size = std::filesystem::file_size(fileName, error);
    if (error) {
        return {kMediaCannotReadFile, {}};
    }
    if (size > kMaxClipFileBytes) {
        return {kMediaClipTooLarge, {}};
    }
    Bytes bytes;
    try {
        bytes = readFileBytes(fileName);
    } catch (const Error&) {
        return {kMediaCannotReadFile, {}};
    }
    const ClipDecoder decode = decoder.load();
    if (decode == nullptr) {
        return {kMediaNoDecoder, {}};
    }
    return decode(bytes);
}

}  // namespace qir::animation
