// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures on the player bar's buttons, drawn pixel by pixel so they stay crisp.

#ifndef QIR_ANIMATION_INTERNALS
#error "animation/button_glyphs.h is private to its folder"
#endif

#include <QPoint>
#include <QSize>

#include "animation/button_types.h"

class QPainter;
class QPalette;

namespace qir::animation {

enum class GlyphLook { Normal, Greyed, Coloured };

// The glyph's size in every look (the greyed look's light edge included).
QSize glyphSize(TMPBtnType button);

void drawGlyph(QPainter& painter, TMPBtnType button, QPoint topLeft, GlyphLook look,
               const QPalette& palette);

}  // namespace qir::animation
