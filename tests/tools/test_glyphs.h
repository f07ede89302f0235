// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small made-up characters for rendering tests.

#include <string>

#include "tools/store_builder/character_data.h"

namespace qir::testing {

// Two upright bars, left then right, each written top to bottom: in the data's y-up box the
// bars span x 100-400 and 600-900, y 100-800.
inline const char* kTwoBarsJson = R"({
  "strokes": ["M 100 100 L 400 100 L 400 800 L 100 800 Z",
              "M 600 100 L 900 100 L 900 800 L 600 800 Z"],
  "medians": [[[250, 800], [250, 100]], [[750, 800], [750, 100]]]
})";

inline tools::CharacterData twoBars() {
    return tools::parseCharacterJson(kTwoBarsJson);
}

}  // namespace qir::testing
