#include "tools/store_builder/stroke_picture.h"

#include <QPainter>

#include "tools/store_builder/stroke_masks.h"

namespace qir::tools {

std::vector<QImage> renderStrokeSteps(const Glyph& glyph, int size, const RenderStyle& style) {
    QImage guide(size, size, QImage::Format_RGB888);
    guide.fill(style.background);
    {
        QPainter painter(&guide);
        drawGuide(painter, QRectF(0, 0, size, size), style.guide);
    }
    const std::vector<StrokeMask> masks =
        rasteriseStrokes(glyph, QRectF(0, 0, size, size), guide.size());
    std::vector<QImage> pictures;
    for (std::size_t newest = 0; newest < masks.size(); ++newest) {
        QImage picture = guide.copy();
        for (std::size_t i = 0; i < masks.size(); ++i) {
            const QColor& colour = i < newest ? style.written : i == newest ? style.newest
                                                                            : style.pending;
            blendMask(picture, masks[i], colour.rgb());
        }
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

}  // namespace qir::tools
