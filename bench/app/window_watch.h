// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Follows, from the X server's own events, a started program's top-level window: when it is
// shown (it and the window manager's frame around it mapped), first exposed, and first painted
// whole (the DAMAGE extension's report of a drawing that covers it). Nothing is polled: the
// watch asks for every window made on the screen before the program starts.

#include <X11/Xlib.h>
#include <sys/types.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "bench/app/x11_damage.h"

namespace qir::bench {

using Clock = std::chrono::steady_clock;

// Milliseconds from the start; nothing where it did not happen in time.
struct WindowTimes {
    std::optional<double> shown;
    std::optional<double> exposed;
    std::optional<double> painted;
};

class WindowWatch {
  public:
    // The display of $DISPLAY; throws when there is none.
    WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    bool seesPainting() const { return damage_.has_value(); }
    // Prints every event of the program's windows as it comes.
    void setVerbose(bool verbose) { verbose_ = verbose; }

    // Follows the top-level window of process `pid`, started at `started`, until it is painted
    // (or shown and exposed, where painting cannot be seen), the process ends, or `timeout`.
    WindowTimes follow(pid_t pid, Clock::time_point started, std::chrono::milliseconds timeout);

    // Waits until the followed window is destroyed (its program ended), for up to `timeout`,
    // and lets go of every event up to then.
    void awaitWindowGone(std::chrono::milliseconds timeout);

  private:
    struct DisplayCloser {
        void operator()(Display* display) const { XCloseDisplay(display); }
    };

    void handle(const XEvent& event, double at, WindowTimes& times);
    void watchWindow(Window window);
    bool ownedByProgram(Window window);
    // The program's window, once it is found, as shown: it and its frame mapped.
    void noteShown(double at, WindowTimes& times);

    std::unique_ptr<Display, DisplayCloser> display_;
    Window root_ = 0;
    Atom pidAtom_ = 0;
    std::optional<X11Damage> damage_;
    bool verbose_ = false;

    // The state of one start.
    pid_t pid_ = 0;
    std::set<Window> watched_;
    std::map<Window, bool> owned_;
    std::map<Window, Window> frameOf_;
    std::set<Window> mapped_;
    Window programWindow_ = 0;
};

}  // namespace qir::bench
