// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/writing_animation.h"

#include <QLineF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace qir::tools {
namespace {

// Distance from `p` to the segment a-b.
double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const double lengthSquared = QPointF::dotProduct(ab, ab);
    double t = lengthSquared > 0 ? QPointF::dotProduct(p - a, ab) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF nearest = a + t * ab;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

}  // namespace

std::vector<FramePlan> planWriting(const Glyph& glyph, const WritingPace& pace) {
    std::vector<FramePlan> frames(static_cast<std::size_t>(pace.leadInFrames), FramePlan{});
    const int count = static_cast<int>(glyph.strokes.size());
    for (int stroke = 0; stroke < count; ++stroke) {
        const double length = glyph.strokes[static_cast<std::size_t>(stroke)].medianLength;
        const int strokeFrames =
            std::clamp(static_cast<int>(std::ceil(length / pace.unitsPerFrame)),
                       pace.minStrokeFrames, pace.maxStrokeFrames);
        for (int i = 1; i <= strokeFrames; ++i) {
            frames.push_back({stroke, stroke, static_cast<double>(i) / strokeFrames});
        }
        const int still = stroke + 1 < count ? pace.pauseFrames : pace.holdFrames;
        frames.insert(frames.end(), static_cast<std::size_t>(still), FramePlan{stroke + 1});
    }
    return frames;
}

WritingRenderer::WritingRenderer(const Glyph& glyph, QSize frameSize, const WritingPace& pace,
                                 const RenderStyle& style)
    : glyph_(glyph), pace_(pace), style_(style) {
    // The largest square that fits, centred, with a pixel to spare above and below.
    const int side = std::min(frameSize.width(), frameSize.height()) - 2;
    square_ = QRectF((frameSize.width() - side) / 2, (frameSize.height() - side) / 2, side, side);
    masks_ = rasteriseStrokes(glyph_, square_, frameSize);
    QImage canvas(frameSize, QImage::Format_RGB32);
    canvas.fill(style_.background);
    {
        QPainter painter(&canvas);
        drawGuide(painter, square_, style_.guide);
    }
    base_ = canvas.convertToFormat(QImage::Format_Grayscale8);
    if (style_.pending != style_.background) {
        for (const StrokeMask& mask : masks_) {
            blendMask(base_, mask, style_.pending.rgb());
        }
    }
    quantise(base_, base_.rect());
}

void WritingRenderer::quantise(QImage& image, const QRect& area) const {
    if (style_.greyLevels < 2 || style_.greyLevels >= 256) {
        return;
    }
    const int step = 255 / (style_.greyLevels - 1);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            line[x] = static_cast<uchar>((line[x] + step / 2) / step * step);
        }
    }
}

void WritingRenderer::finishStrokesUpTo(int count) {
    if (count < finished_) {
        throw std::logic_error("frames asked for out of order");
    }
    for (; finished_ < count; ++finished_) {
        const StrokeMask& mask = masks_[static_cast<std::size_t>(finished_)];
        blendMask(base_, mask, style_.written.rgb());
        quantise(base_, mask.bounds);
    }
}

// The outline, kept only where the pen has passed: the outline's coverage times the
// coverage of a round pen dragged along the median so far, so both edges stay smooth.
void WritingRenderer::drawPartialStroke(QImage& image, int strokeIndex, double progress) const {
    const GlyphStroke& stroke = glyph_.strokes[static_cast<std::size_t>(strokeIndex)];
    const StrokeMask& mask = masks_[static_cast<std::size_t>(strokeIndex)];
    const QTransform toImage = glyphToSquare(square_);
    const QPolygonF trail =
        toImage.map(medianPrefix(stroke.median, progress * stroke.medianLength));
    const double radius = pace_.penRadius * toImage.m11();
    const unsigned ink = static_cast<unsigned>(qGray(style_.written.rgb()));
    for (int y = mask.bounds.top(); y <= mask.bounds.bottom(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = mask.bounds.left(); x <= mask.bounds.right(); ++x) {
            const unsigned outline = mask.at(x, y);
            if (outline == 0) {
                continue;
            }
            const QPointF centre(x + 0.5, y + 0.5);
            double distance = std::hypot(centre.x() - trail[0].x(), centre.y() - trail[0].y());
            for (qsizetype i = 1; i < trail.size() && distance > radius - 0.5; ++i) {
                distance = std::min(distance, distanceToSegment(centre, trail[i - 1], trail[i]));
            }
            const double pen = std::clamp(radius + 0.5 - distance, 0.0, 1.0);
            const auto coverage = static_cast<unsigned>(std::lround(outline * pen));
            line[x] = static_cast<uchar>((line[x] * (255 - coverage) + ink * coverage + 127) / 255);
        }
    }
    quantise(image, mask.bounds);
}

QImage WritingRenderer::frame(const FramePlan& plan) {
    if (plan == lastPlan_) {
        return lastFrame_;  // pauses and the hold repeat a frame
    }
    finishStrokesUpTo(plan.completedStrokes);
    QImage image = base_.copy();
    if (plan.activeStroke >= 0) {
        if (plan.progress >= 1.0) {
            const StrokeMask& mask = masks_[static_cast<std::size_t>(plan.activeStroke)];
            blendMask(image, mask, style_.written.rgb());
            quantise(image, mask.bounds);
        } else {
            drawPartialStroke(image, plan.activeStroke, plan.progress);
        }
    }
    lastPlan_ = plan;
    lastFrame_ = image;
    return image;
}

}  // namespace qir::tools
