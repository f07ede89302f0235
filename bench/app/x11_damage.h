// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The X DAMAGE extension, spoken through Xlib's own request interface: tells when another
// client draws into a window. Only what the start-up benchmark needs: create a damage object
// that reports every drawn rectangle, and read the reports as events.

#include <X11/Xlib.h>

#include <optional>

namespace qir::bench {

// One drawn rectangle of a window, and the window's own size then.
struct DamageReport {
    Window window = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int windowWidth = 0, windowHeight = 0;

    bool coversWindow() const {
        return x <= 0 && y <= 0 && x + width >= windowWidth && y + height >= windowHeight;
    }
};

class X11Damage {
  public:
    // Nothing when the server lacks the extension.
    static std::optional<X11Damage> of(Display* display);

    // Reports every rectangle drawn into `window` from now on, until the window is destroyed.
    void watch(Window window);
    // The report `event` carries, if it is one of ours.
    std::optional<DamageReport> report(const XEvent& event) const;

  private:
    X11Damage(Display* display, int majorOpcode, int eventBase)
        : display_(display), majorOpcode_(majorOpcode), eventBase_(eventBase) {}

    Display* display_;
    int majorOpcode_;
    int eventBase_;
};

}  // namespace qir::bench
