// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One character's stroke data as the data package stores it: per stroke an outline path and
// a median (the centre line a brush follows), in a 1024 x 1024 box whose y axis points up.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/store_builder/svg_path.h"

namespace qir::tools {

// A character's strokes as the program models them everywhere.
using StrokeData = geometry::Stroke;
using CharacterData = geometry::CharacterStrokes;

// Stroke data that cannot be used; the message says why.
class StrokeDataError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parses the JSON text of one character's file. Throws StrokeDataError for malformed JSON,
// missing or mistyped fields, outline paths the path parser rejects, a median without points,
// a different number of outlines and medians, and a character without strokes.
CharacterData parseCharacterJson(std::string_view json);

}  // namespace qir::tools
