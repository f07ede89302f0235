// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/stroke_picture.h"

#include "tools/store_builder/stroke_masks.h"

namespace qir::tools {

std::vector<QImage> renderStrokeSteps(const Glyph& glyph, int size, const RenderStyle& style) {
    const QImage guide =
        guideImage(QSize(size, size), QRectF(0, 0, size, size), QImage::Format_RGB888,
                   QImage::Format_RGB888, style.background, style.guide);
    const std::vector<StrokeMask> masks =
        rasteriseStrokes(glyph, QRectF(0, 0, size, size), guide.size());
    std::vector<QImage> pictures;
    for (std::size_t newest = 0; newest < masks.size(); ++newest) {
        QImage picture = guide.copy();
        // Strokes to come lie underneath, so that where strokes cross, the ones written stay
        // whole and the newest is seen in full.
        for (std::size_t i = newest + 1; i < masks.size(); ++i) {
            blendMask(picture, masks[i], style.pending.rgb());
        }
        for (std::size_t i = 0; i < newest; ++i) {
            blendMask(picture, masks[i], style.written.rgb());
        }
        blendMask(picture, masks[newest], style.newest.rgb());
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

}  // namespace qir::tools
