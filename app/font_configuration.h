// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fontconfig's configuration and font caches, loaded on a thread of their own while the
// application object and the display connection are made. Qt loads them on the main thread
// the first time it needs a font (13 to 16 ms here) and now finds them loaded.
#ifndef QIR_APP_INTERNALS
#error "app/font_configuration.h is private to app/"
#endif

#include <thread>

namespace qir::app {

class FontConfigurationLoading {
  public:
    // Returns at once. Uses the fontconfig library Qt's GUI library brought in; without one,
    // does nothing.
    FontConfigurationLoading();
    // Waits for the loading to end.
    ~FontConfigurationLoading();
    FontConfigurationLoading(const FontConfigurationLoading&) = delete;
    FontConfigurationLoading& operator=(const FontConfigurationLoading&) = delete;

  private:
    std::thread loading_;
};

}  // namespace qir::app
