// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The look of the clips and the step pictures.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRectF>

namespace qir::tools {

struct RenderStyle {
    QColor background{255, 255, 255};
    QColor guide{212, 212, 212};    // 田字格 frame and dashed centre lines
    QColor pending{228, 228, 228};  // strokes still to come
    QColor written{0, 0, 0};        // strokes already written
    QColor newest{220, 20, 20};     // the stroke a step picture introduces
    int greyLevels = 256;           // clips: fewer levels compress better, 16 still look smooth
};

// Step pictures: every stroke shows, those to come in light grey.
inline RenderStyle pictureStyle() {
    return {};
}

// Clips: the character appears only as it is written, on the guide.
inline RenderStyle clipStyle() {
    RenderStyle style;
    style.pending = style.background;
    style.greyLevels = 16;
    return style;
}

// Draws the square frame and its dashed centre lines inside `square`, which is in pixels.
void drawGuide(QPainter& painter, const QRectF& square, const QColor& colour);

// An image of `size` filled with `background` with the guide drawn on `square`, painted in
// `paintFormat` and then converted to `format`. Every character of a build starts from the
// same guide, and painting its dashes (and Qt's colour transform into grey) costs more than a
// small character's strokes, so each thread paints each guide once.
QImage guideImage(QSize size, const QRectF& square, QImage::Format paintFormat,
                  QImage::Format format, const QColor& background, const QColor& guide);

}  // namespace qir::tools
