// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The primary screen's colour depth, read once at start.

namespace qir {

// Bits per pixel of the primary screen, read on the first call and kept; 24 when there is no
// screen to ask.
int screenColourDepth();

}  // namespace qir
