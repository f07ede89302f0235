// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/app/window_watch.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace qir::bench {
namespace {

// Windows of other clients come and go while they are looked at; a request on one just gone
// fails harmlessly.
int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

double millisecondsSince(Clock::time_point started) {
    return std::chrono::duration<double, std::milli>(Clock::now() - started).count();
}

// Whether `pid` has ended, leaving it for its owner to collect.
bool ended(pid_t pid) {
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == pid;
}

const char* eventName(int type) {
    switch (type) {
        case CreateNotify:
            return "created";
        case ReparentNotify:
            return "reparented";
        case MapNotify:
            return "mapped";
        case Expose:
            return "exposed";
        default:
            return nullptr;
    }
}

}  // namespace

WindowWatch::WindowWatch() : display_(XOpenDisplay(nullptr)) {
    if (!display_) {
        throw std::runtime_error("cannot open the display (is DISPLAY set?)");
    }
    XSetErrorHandler(&ignoreError);
    root_ = DefaultRootWindow(display_.get());
    pidAtom_ = XInternAtom(display_.get(), "_NET_WM_PID", False);
    damage_ = X11Damage::of(display_.get());
    // Every window made on the screen, and every one the window manager takes into a frame.
    XSelectInput(display_.get(), root_, SubstructureNotifyMask);
    XSync(display_.get(), False);
}

WindowTimes WindowWatch::follow(pid_t pid, Clock::time_point started,
                                std::chrono::milliseconds timeout) {
    pid_ = pid;
    watched_.clear();
    owned_.clear();
    frameOf_.clear();
    mapped_.clear();
    programWindow_ = 0;

    WindowTimes times;
    const auto done = [&] { return times.painted || (times.shown && times.exposed && !damage_); };
    const Clock::time_point deadline = started + timeout;
    pollfd connection{ConnectionNumber(display_.get()), POLLIN, 0};
    while (!done()) {
        while (XPending(display_.get()) > 0 && !done()) {
            XEvent event;
            XNextEvent(display_.get(), &event);
            handle(event, millisecondsSince(started), times);
        }
        if (done() || Clock::now() >= deadline || ended(pid)) {
            break;
        }
        // Woken by the next event at once; the limit only notices an ended program.
        poll(&connection, 1, 50);
    }
    return times;
}

void WindowWatch::awaitWindowGone(std::chrono::milliseconds timeout) {
    if (programWindow_ == 0) {
        return;
    }
    const Clock::time_point deadline = Clock::now() + timeout;
    pollfd connection{ConnectionNumber(display_.get()), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (XPending(display_.get()) > 0) {
            XEvent event;
            XNextEvent(display_.get(), &event);
            if (event.type == DestroyNotify && event.xdestroywindow.window == programWindow_) {
                programWindow_ = 0;
                return;
            }
        }
        poll(&connection, 1, 50);
    }
}

void WindowWatch::handle(const XEvent& event, double at, WindowTimes& times) {
    Display* display = display_.get();
    Window subject = 0;
    switch (event.type) {
        case CreateNotify:
            subject = event.xcreatewindow.window;
            if (event.xcreatewindow.parent == root_) {
                watchWindow(subject);
            }
            break;
        case ReparentNotify:
            subject = event.xreparent.window;
            if (event.xreparent.parent != root_) {
                watchWindow(subject);
                frameOf_[subject] = event.xreparent.parent;
            }
            break;
        case MapNotify:
            subject = event.xmap.window;
            mapped_.insert(subject);
            break;
        case Expose:
            subject = event.xexpose.window;
            if (subject == programWindow_ && !times.exposed) {
                times.exposed = at;
            }
            break;
        default:
            if (damage_) {
                if (const auto report = damage_->report(event)) {
                    if (verbose_ && report->window == programWindow_) {
                        std::printf("  %8.2f ms  window 0x%lx drawn %dx%d+%d+%d of %dx%d\n", at,
                                    report->window, report->width, report->height, report->x,
                                    report->y, report->windowWidth, report->windowHeight);
                    }
                    // Drawn whole once it could be seen: the program's first paint.
                    if (report->window == programWindow_ && times.exposed && !times.painted &&
                        report->coversWindow()) {
                        times.painted = at;
                    }
                }
            }
            return;
    }
    // The program's top-level window: its own, managed (not a popup), and on its way to the
    // screen. Drawing into it is watched from before it is mapped where a window manager
    // takes it into a frame first.
    if (programWindow_ == 0 && (event.type == ReparentNotify || event.type == MapNotify) &&
        ownedByProgram(subject)) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, subject, &attributes) != 0 &&
            attributes.override_redirect == False) {
            programWindow_ = subject;
            if (damage_) {
                damage_->watch(subject);
            }
        }
    }
    // Each event comes twice, to the window and to its parent: said once.
    if (verbose_ && eventName(event.type) != nullptr && event.xany.window == subject &&
        (subject == programWindow_ ||
         (frameOf_.contains(programWindow_) && subject == frameOf_[programWindow_]))) {
        std::printf("  %8.2f ms  window 0x%lx %s%s\n", at, subject, eventName(event.type),
                    subject == programWindow_ ? "" : " (its frame)");
    }
    noteShown(at, times);
}

void WindowWatch::watchWindow(Window window) {
    if (watched_.insert(window).second) {
        // Substructure too: a frame reports its client's mapping, even one missed on the client.
        XSelectInput(display_.get(), window,
                     StructureNotifyMask | SubstructureNotifyMask | ExposureMask);
    }
}

bool WindowWatch::ownedByProgram(Window window) {
    if (const auto known = owned_.find(window); known != owned_.end()) {
        return known->second;
    }
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, left = 0;
    unsigned char* data = nullptr;
    bool owned = false;
    if (XGetWindowProperty(display_.get(), window, pidAtom_, 0, 1, False, XA_CARDINAL, &type,
                           &format, &items, &left, &data) == Success &&
        data != nullptr) {
        owned = format == 32 && items == 1 &&
                static_cast<pid_t>(*reinterpret_cast<const unsigned long*>(data)) == pid_;
    }
    if (data != nullptr) {
        XFree(data);
    }
    owned_[window] = owned;
    return owned;
}

void WindowWatch::noteShown(double at, WindowTimes& times) {
    if (programWindow_ == 0 || times.shown || !mapped_.contains(programWindow_)) {
        return;
    }
    const auto frame = frameOf_.find(programWindow_);
    if (frame == frameOf_.end() || mapped_.contains(frame->second)) {
        times.shown = at;
    }
}

}  // namespace qir::bench
