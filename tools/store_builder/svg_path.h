// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Outline paths of the stroke data: SVG path text with absolute M, L, Q, C and Z commands.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/strokes.h"

namespace qir::tools {

// The outline model is the program's own (geometry/strokes.h).
using PathPoint = geometry::Point;
using PathVerb = geometry::OutlineVerb;
using PathCommand = geometry::OutlineCommand;

// A path the parser rejects; the message says what and where (offset into the text).
class PathSyntaxError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parses the path text. Numbers may be separated by blanks or commas; a command letter may
// stand right after a number. A command letter may be followed by further point groups, which
// repeat it (after M they are lines, as in SVG). Relative commands, arcs and the other SVG
// commands are rejected, as are a path not starting with M, a missing or malformed number, a
// non-finite number and an empty path.
std::vector<PathCommand> parseSvgPath(std::string_view text);

}  // namespace qir::tools
