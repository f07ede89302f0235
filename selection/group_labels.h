// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue's group labels, "1画" to "23画" as GB2312 bytes.

#ifndef QIR_SELECTION_INTERNALS
#error "selection/group_labels.h is private to its folder"
#endif

#include <string_view>

namespace qir::selection {

// True when `text` is byte for byte one of the 23 labels "1画" ... "23画", "22画" included
// although no group carries it.
bool isGroupLabel(std::string_view text);

}  // namespace qir::selection
