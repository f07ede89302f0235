// SPDX-License-Identifier: GPL-3.0-or-later
// libXdamage's development files are not on every machine, and the extension needs only two
// requests and one event; so they are made here as libXdamage makes them. Xlib's internal
// header stays in this one file.
#include "bench/app/x11_damage.h"

#include <X11/Xlibint.h>
#include <X11/extensions/damageproto.h>

#include <cstring>

namespace qir::bench {
namespace {

// What the converter leaves in an XEvent for `report` to read.
struct DamageEvent {
    int type;
    unsigned long serial;
    Bool sendEvent;
    Display* display;
    Window window;
    short x, y;
    unsigned short width, height;
    unsigned short windowWidth, windowHeight;
};
static_assert(sizeof(DamageEvent) <= sizeof(XEvent));

Bool convertDamageEvent(Display* display, XEvent* event, xEvent* wire) {
    const auto* notify = reinterpret_cast<const xDamageNotifyEvent*>(wire);
    DamageEvent converted{};
    converted.type = notify->type & 0x7F;
    converted.serial = _XSetLastRequestRead(display, reinterpret_cast<xGenericReply*>(wire));
    converted.sendEvent = (notify->type & 0x80) != 0;
    converted.display = display;
    converted.window = notify->drawable;
    converted.x = notify->area.x;
    converted.y = notify->area.y;
    converted.width = notify->area.width;
    converted.height = notify->area.height;
    converted.windowWidth = notify->geometry.width;
    converted.windowHeight = notify->geometry.height;
    std::memcpy(static_cast<void*>(event), &converted, sizeof converted);
    return True;
}

// The server answers nothing but this request until the client has named its version. Xlib's
// request macros speak to a display called `dpy`.
bool queryVersion(Display* dpy, int majorOpcode) {
    LockDisplay(dpy);
    xDamageQueryVersionReq* request = nullptr;
    GetReq(DamageQueryVersion, request);
    request->reqType = static_cast<CARD8>(majorOpcode);
    request->damageReqType = X_DamageQueryVersion;
    request->majorVersion = DAMAGE_MAJOR;
    request->minorVersion = DAMAGE_MINOR;
    xDamageQueryVersionReply reply{};
    const bool answered = _XReply(dpy, reinterpret_cast<xReply*>(&reply), 0, xTrue) != 0;
    UnlockDisplay(dpy);
    SyncHandle();
    return answered && reply.majorVersion >= 1;
}

}  // namespace

std::optional<X11Damage> X11Damage::of(Display* display) {
    int majorOpcode = 0, eventBase = 0, errorBase = 0;
    if (XQueryExtension(display, DAMAGE_NAME, &majorOpcode, &eventBase, &errorBase) == 0 ||
        !queryVersion(display, majorOpcode)) {
        return std::nullopt;
    }
    XESetWireToEvent(display, eventBase + XDamageNotify, &convertDamageEvent);
    return X11Damage(display, majorOpcode, eventBase);
}

void X11Damage::watch(Window window) {
    // Xlib's request macros speak to a display called `dpy`.
    Display* dpy = display_;
    LockDisplay(dpy);
    xDamageCreateReq* request = nullptr;
    GetReq(DamageCreate, request);
    request->reqType = static_cast<CARD8>(majorOpcode_);
    request->damageReqType = X_DamageCreate;
    request->damage = static_cast<CARD32>(XAllocID(dpy));
    request->drawable = static_cast<CARD32>(window);
    request->level = XDamageReportRawRectangles;
    UnlockDisplay(dpy);
    SyncHandle();
}

std::optional<DamageReport> X11Damage::report(const XEvent& event) const {
    if (event.type != eventBase_ + XDamageNotify) {
        return std::nullopt;
    }
    DamageEvent damage{};
    std::memcpy(&damage, static_cast<const void*>(&event), sizeof damage);
    return DamageReport{damage.window, damage.x,           damage.y,           damage.width,
                        damage.height, damage.windowWidth, damage.windowHeight};
}

}  // namespace qir::bench
