// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/font_configuration.h"

#include <dlfcn.h>

#include <system_error>

namespace qir::app {

FontConfigurationLoading::FontConfigurationLoading() {
    // Looked up rather than linked: it is Qt's dependency, already loaded, and a Qt without it
    // simply has nothing to load ahead. Fontconfig sets up its configuration once, whichever
    // thread comes first.
    using Init = int (*)();
    const auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit"));
    if (init == nullptr) {
        return;
    }
    try {
        loading_ = std::thread(init);
    } catch (const std::system_error&) {
        // No thread to be had: Qt loads it when it needs it, as it always did.
    }
}

FontConfigurationLoading::~FontConfigurationLoading() {
    if (loading_.joinable()) {
        loading_.join();
    }
}

}  // namespace qir::app
