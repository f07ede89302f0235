#include "tools/store_builder/stroke_picture.h"

#include <QPainter>

namespace qir::tools {

QImage renderStrokeStep(const Glyph& glyph, int newest, int size, const RenderStyle& style) {
    QImage image(size, size, QImage::Format_RGB888);
    image.fill(style.background);
    QPainter painter(&image);
    const QRectF square(0, 0, size, size);
    drawGuide(painter, square, style.guide);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setTransform(glyphToSquare(square));
    for (int i = 0; i < static_cast<int>(glyph.strokes.size()); ++i) {
        const QColor& colour = i < newest ? style.written : i == newest ? style.newest
                                                                        : style.pending;
        painter.setBrush(colour);
        painter.drawPath(glyph.strokes[static_cast<std::size_t>(i)].outline);
    }
    painter.end();
    return image;
}

}  // namespace qir::tools
