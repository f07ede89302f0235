// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/stroke_masks.h"

#include <QPainter>
#include <stdexcept>

namespace qir::tools {
namespace {

inline unsigned char mix(unsigned background, unsigned ink, unsigned coverage) {
    return static_cast<unsigned char>((background * (255 - coverage) + ink * coverage + 127) / 255);
}

}  // namespace

std::vector<StrokeMask> rasteriseStrokes(const Glyph& glyph, const QRectF& square,
                                         QSize imageSize) {
    std::vector<StrokeMask> masks;
    QImage canvas(imageSize, QImage::Format_ARGB32_Premultiplied);
    const QTransform toImage = glyphToSquare(square);
    const QRect imageRect(QPoint(0, 0), imageSize);
    for (const GlyphStroke& stroke : glyph.strokes) {
        StrokeMask mask;
        const QPainterPath path = toImage.map(stroke.outline);
        mask.bounds = path.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1) & imageRect;
        if (!mask.bounds.isEmpty()) {
            canvas.fill(Qt::transparent);
            QPainter painter(&canvas);
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::black);
            painter.drawPath(path);
            painter.end();
            mask.alpha.reserve(static_cast<std::size_t>(mask.bounds.width()) *
                               static_cast<std::size_t>(mask.bounds.height()));
            for (int y = mask.bounds.top(); y <= mask.bounds.bottom(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
                for (int x = mask.bounds.left(); x <= mask.bounds.right(); ++x) {
                    mask.alpha.push_back(static_cast<unsigned char>(qAlpha(line[x])));
                }
            }
        }
        masks.push_back(std::move(mask));
    }
    return masks;
}

void blendMask(QImage& image, const StrokeMask& mask, QRgb colour) {
    const bool grey = image.format() == QImage::Format_Grayscale8;
    if (!grey && image.format() != QImage::Format_RGB888) {
        throw std::logic_error("blendMask needs an RGB888 or Grayscale8 image");
    }
    const unsigned red = qRed(colour);
    const unsigned green = qGreen(colour);
    const unsigned blue = qBlue(colour);
    for (int y = mask.bounds.top(); y <= mask.bounds.bottom(); ++y) {
        unsigned char* line = image.scanLine(y);
        for (int x = mask.bounds.left(); x <= mask.bounds.right(); ++x) {
            const unsigned coverage = mask.at(x, y);
            if (coverage == 0) {
                continue;
            }
            if (grey) {
                line[x] = mix(line[x], static_cast<unsigned>(qGray(colour)), coverage);
            } else {
                unsigned char* pixel = line + 3 * x;
                pixel[0] = mix(pixel[0], red, coverage);
                pixel[1] = mix(pixel[1], green, coverage);
                pixel[2] = mix(pixel[2], blue, coverage);
            }
        }
    }
}

}  // namespace qir::tools
