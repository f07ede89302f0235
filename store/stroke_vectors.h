// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A character's strokes in vector form, as the vector table "bishunvec.db" keeps them: per
// stroke, in writing order, its outline and its median (the centre line a brush follows).
//
// Coordinates are those of the stroke data: a 1024 x 1024 box whose y axis points up (a
// drawing puts the point (x, y) at (x, 900 - y) of a y-down box).
//
// Encoding, version 1 (one blob per character):
//
//   blob    = "QSV" version:u8 strokeCount:uvarint stroke{strokeCount}
//   stroke  = commandCount:uvarint command{commandCount}
//             medianCount:uvarint point{medianCount}
//   command = verb:u8 point{0 to 3}   0 MoveTo (1 point), 1 LineTo (1), 2 QuadTo (2: control,
//                                     end), 3 CubicTo (3: two controls, end), 4 Close (0)
//   point   = dx:svarint dy:svarint
//
// A point is stored in eighths of a unit, as its difference from the point before it in the
// same stroke (outline points first, then median points; a stroke's first point counts from
// 0, 0). uvarint is LEB128 (seven bits a byte, low bits first, high bit set on all but the
// last byte); svarint is a uvarint of the zigzag form (0, -1, 1, -2 ... as 0, 1, 2, 3 ...).
// The data's coordinates are whole or half units, so they come back exactly; any other
// value comes back within a sixteenth of a unit. Nothing may follow the last stroke.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

#include "geometry/strokes.h"

namespace qir::store {

// The strokes as the program models them everywhere (geometry/strokes.h).
using VectorPoint = geometry::Point;
using OutlineVerb = geometry::OutlineVerb;
using OutlineCommand = geometry::OutlineCommand;
using VectorStroke = geometry::Stroke;
using StrokeVectors = geometry::CharacterStrokes;
using geometry::pointCount;

inline constexpr std::uint8_t kStrokeVectorsVersion = 1;

// Bounds that no real character comes near; a blob beyond them is treated as damaged.
inline constexpr std::size_t kMaxStrokes = 99;
inline constexpr std::size_t kMaxPointsPerStroke = 20000;
inline constexpr double kMaxCoordinate = 65536;

// Bytes that are not a readable encoding, or strokes that cannot be encoded; the message
// says what is wrong ("the data ends inside stroke 3").
class StrokeVectorsError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Throws StrokeVectorsError for what decoding would refuse: no strokes, an outline that does
// not start with MoveTo, a median without points, a command with the wrong number of points,
// a coordinate that is not finite or beyond kMaxCoordinate, more strokes or points than the
// bounds allow.
std::vector<unsigned char> encodeStrokeVectors(const StrokeVectors& vectors);

// Throws StrokeVectorsError for bytes that are not a version 1 encoding, are cut short, carry
// trailing bytes or an unknown verb, and for everything encoding refuses.
StrokeVectors decodeStrokeVectors(std::span<const unsigned char> bytes);

}  // namespace qir::store
