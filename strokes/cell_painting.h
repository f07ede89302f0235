// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drawing the pieces of a stroke grid cell, shared by the live cell's widgets and the painted
// copies of the other cells.

#ifndef QIR_STROKES_INTERNALS
#error "strokes/cell_painting.h is private to its folder"
#endif

#include <QColor>
#include <QPixmap>
#include <QRect>

class QPainter;

namespace qir::strokes {

// Cell and template geometry, in pixels.
inline constexpr int kCellWidth = 85;
inline constexpr int kCellHeight = 86;
inline constexpr int kPanelLeft = 9;  // the white panel within its cell
inline constexpr int kPanelTop = 10;
inline constexpr int kPanelSize = 66;
inline constexpr int kBevelWidth = 1;
inline constexpr int kPictureInset = 2 * kBevelWidth;  // the picture within the panel
inline constexpr int kPictureSize = kPanelSize - 2 * kPictureInset;

inline const QColor kHighlight{0xFF, 0xFF, 0xFF};
inline const QColor kShadow{0x80, 0x80, 0x80};
inline const QColor kWindowFrame{0x00, 0x00, 0x00};

// A one-pixel bevel along the edge of `rect`: light above and left when raised.
void drawBevel(QPainter& painter, const QRect& rect, bool raised);

// The white panel with its raised outer and lowered inner bevel, filling `rect`.
void drawPanel(QPainter& painter, const QRect& rect);

// The picture box's face: the picture stretched over `rect`, or the window colour.
void drawPicture(QPainter& painter, const QRect& rect, const QPixmap& picture,
                 const QColor& windowColour);

// A picture scaled once to the box's size at the screen's device pixel ratio, so repeated
// drawing only copies it and a screen of more device pixels gets a sharp copy.
QPixmap fitToPictureBox(const QImage& image, qreal devicePixelRatio = 1.0);

}  // namespace qir::strokes
