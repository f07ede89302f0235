// SPDX-License-Identifier: GPL-3.0-or-later
#include "jpeg/error_manager.h"

namespace qir::jpeg {
namespace {

extern "C" [[noreturn]] void jumpOut(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    errors->code = errors->manager.msg_code;
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->resume, 1);
}

extern "C" void ignoreMessage(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* useErrorManager(ErrorManager& errors) {
    jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
    manager->error_exit = jumpOut;
    manager->output_message = ignoreMessage;
    return manager;
}

}  // namespace qir::jpeg
