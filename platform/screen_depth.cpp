// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/screen_depth.h"

#include <QGuiApplication>
#include <QScreen>

namespace qir {

int screenColourDepth() {
    static const int depth = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen != nullptr ? screen->depth() : 24;
    }();
    return depth;
}

}  // namespace qir
