// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Windows font names the window's design uses, mapped to fonts this system has.

#include <QFont>

namespace qir {

// "MS Sans Serif" becomes DejaVu Sans, "MS Serif" Nimbus Roman; "楷体_GB2312" becomes the
// AR PL KaitiM GB font. The Kai font stays with the texts that ask for it: where the desktop's
// interface font resolves to it (fontconfig's choice under a Chinese locale), menus, tooltips
// and dialogs get a plain sans instead. Call once after the application object exists.
void installFontSubstitutions();

// The font of the input box, the catalogue and the sheets' characters: "楷体_GB2312" in
// 15-pixel characters, found as the AR PL KaitiM GB family (substituted here if need be).
QFont kaitiFont();

}  // namespace qir
