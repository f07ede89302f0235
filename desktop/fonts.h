// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Windows font names the window's design uses, mapped to fonts this system has.

namespace qir {

// "MS Sans Serif" becomes DejaVu Sans, "MS Serif" Nimbus Roman; "楷体_GB2312" becomes the
// AR PL KaitiM GB font. Call once after the application object exists.
void installFontSubstitutions();

}  // namespace qir
