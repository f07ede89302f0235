// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The primary screen's colour depth, read once at start.

#include <optional>
#include <string>

namespace qir {

// Bits per pixel of the primary screen, read on the first call and kept; 24 when there is no
// screen to ask.
int screenColourDepth();

// The fewest bits per pixel the window system layer can paint: on screens of 256 colours or
// fewer it paints nothing and fails in the input box.
inline constexpr int kLeastPaintableDepth = 15;

// The message that refuses a screen of `depth` bits per pixel at start; nothing when the
// program can run on it.
std::optional<std::string> screenDepthRefusal(int depth);

}  // namespace qir
