// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/screen_depth.h"

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

std::optional<std::string> screenDepthRefusal(int depth) {
    if (depth >= kLeastPaintableDepth) {
        return std::nullopt;
    }
    return "QIR Demonstration of stroke order cannot run on this screen: it shows " +
           std::to_string(depth) + " bits per pixel, and at least " +
           std::to_string(kLeastPaintableDepth) + " (thousands of colours) are needed.";
}

}  // namespace qir
