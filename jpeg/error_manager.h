// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// libjpeg's error handling for C++ callers. A fatal error must not unwind through the
// library's C frames, so the error exit longjmps back to the one C++ frame that called into
// the library, which then reports it as it sees fit; warnings and messages are ignored.
// Only the folders that wrap libjpeg (linking qir_jpeg privately) may include this.

#ifndef QIR_JPEG_PLUMBING
#error "jpeg/error_manager.h belongs to the folders that wrap libjpeg"
#endif

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
// clang-format on

#include <csetjmp>

namespace qir::jpeg {

struct ErrorManager {
    jpeg_error_mgr manager{};
    std::jmp_buf resume{};
    int code = 0;                        // the library's message code of the fatal error
    char message[JMSG_LENGTH_MAX] = {};  // and its text
};

// Sets `errors` up for a compressor or decompressor: `info.err = useErrorManager(errors);`
// before the object is created.
jpeg_error_mgr* useErrorManager(ErrorManager& errors);

// Runs `step`, one stretch of library calls, and tells whether it ended without a fatal error
// (then `errors` holds the code and the message). `step` must hold nothing with a destructor,
// since a fatal error leaves it by longjmp.
template <typename Step>
bool runStep(ErrorManager& errors, Step&& step) {
    if (setjmp(errors.resume) != 0) {
        return false;
    }
    step();
    return true;
}

}  // namespace qir::jpeg
