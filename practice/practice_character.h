// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The character a learner practises: one of GB2312's Chinese characters with strokes in the
// vector table. Anything else is refused with a message that says why, never an empty box.

#include <QPainterPath>
#include <QString>
#include <string>
#include <vector>

#include "practice/geometry.h"
#include "store/vector_table.h"

namespace qir::practice {

struct PracticeCharacter {
    std::string hanzi;  // GB2312 bytes
    std::vector<Polyline> medians;
    std::vector<QPainterPath> outlines;
};

// Throws Error (kind "EPracticeError") whose message names the character and the reason:
// "\"a\" is not a Chinese character", "... is outside GB2312, whose 6,763 Chinese characters
// the store holds", "... is not in the character store", "The text is not one character";
// and the table's EngineError when it cannot be read.
PracticeCharacter practiceCharacter(const QString& character, store::VectorTable& table);

// How a character is named in a message: "\"永\"", or U+0007 for what does not print.
QString nameOfCharacter(const QString& character);

}  // namespace qir::practice
