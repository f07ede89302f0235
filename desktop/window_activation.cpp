// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/window_activation.h"

#include <xcb/xcb.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QSpacerItem>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace qir {
namespace {

// The width a title bar adds around its title: the window manager's buttons and margins.
constexpr int kTitleBarAllowance = 120;

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// Sends `message` with its closing zero byte to every client listening on the root window,
// in pieces of 20 bytes: the first as _NET_STARTUP_INFO_BEGIN, the rest as _NET_STARTUP_INFO.
void broadcastStartupMessage(xcb_connection_t* connection, const QByteArray& message) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    if (screen == nullptr) {
        return;
    }
    const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(connection, "_NET_STARTUP_INFO");
    // The protocol asks for a window of the sender's own to send from.
    const xcb_window_t sender = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, sender, screen->root, -100, -100, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    const QByteArray bytes = message + '\0';
    for (qsizetype offset = 0; offset < bytes.size(); offset += 20) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = sender;
        event.type = offset == 0 ? begin : more;
        std::memcpy(event.data.data8, bytes.constData() + offset,
                    static_cast<std::size_t>(std::min<qsizetype>(20, bytes.size() - offset)));
        xcb_send_event(connection, 0, screen->root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&event));
    }
    xcb_destroy_window(connection, sender);
    xcb_flush(connection);
}

}  // namespace

QByteArray startupRemoveMessage(const QByteArray& startupId) {
    QByteArray quoted;
    for (const char c : startupId) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return "remove: ID=\"" + quoted + '"';
}

void useActivationToken(const ActivationRequest& request) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("wayland")) {
        // A launcher that speaks only startup notification hands its id over as the token.
        const QByteArray token =
            request.activationToken.isEmpty() ? request.startupId : request.activationToken;
        if (!token.isEmpty()) {
            qputenv("XDG_ACTIVATION_TOKEN", token);
        }
        return;
    }
    if (platform == QLatin1String("xcb") && !request.startupId.isEmpty()) {
        if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            broadcastStartupMessage(x11->connection(), startupRemoveMessage(request.startupId));
        }
    }
}

QPoint placeInside(const QRect& available, const QSize& size) {
    const QPoint centred = available.center() - QRect(QPoint(), size).center();
    const int x =
        std::max(available.left(), std::min(centred.x(), available.right() + 1 - size.width()));
    const int y =
        std::max(available.top(), std::min(centred.y(), available.bottom() + 1 - size.height()));
    return {x, y};
}

void fitTitle(QWidget& dialog) {
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int wanted =
        QFontMetrics(titleFont).horizontalAdvance(dialog.windowTitle()) + kTitleBarAllowance;
    // A spacer in the dialog's own layout: a layout of fixed size (a message box's) would
    // override a minimum width set on the dialog.
    QLayout* layout = dialog.layout();
    if (layout == nullptr) {
        dialog.setMinimumWidth(std::max(dialog.minimumWidth(), wanted));
        return;
    }
    // The layout owns the spacer.
    auto* spacer = new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Minimum);
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        grid->addItem(spacer, grid->rowCount(), 0, 1, grid->columnCount());
    } else {
        layout->addItem(spacer);
    }
}

}  // namespace qir
