// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/group_labels.h"

#include <string>

namespace qir::selection {

bool isGroupLabel(std::string_view text) {
    for (int strokes = 1; strokes <= 23; ++strokes) {
        if (text == std::to_string(strokes) + "\xBB\xAD") {
            return true;
        }
    }
    return false;
}

}  // namespace qir::selection
