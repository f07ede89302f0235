// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font of the input box and the catalogue: "楷体_GB2312", 15-pixel characters.

#include <QFont>

namespace qir::selection {

// "楷体_GB2312" as the program names it; on Linux it is found as the AR PL KaitiM GB family.
QFont kaitiFont();

}  // namespace qir::selection
