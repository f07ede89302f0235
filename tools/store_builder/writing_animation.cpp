// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/writing_animation.h"

#include <QLineF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace qir::tools {
namespace {

// A segment of a median, in pixels, and how far the pen has travelled at its start.
struct Segment {
    QPointF a;
    QPointF ab;
    double lengthSquared;
    double travelledBefore;
};

// The point of a segment nearest to `p`: where along it (0 to 1) and how far off.
struct Foot {
    double t;
    double dx;
    double dy;
    double squared() const { return dx * dx + dy * dy; }
};

Foot footOn(const QPointF& p, const Segment& segment) {
    // Most points lie beyond either end of most segments: the division is left for the others.
    const double along = QPointF::dotProduct(p - segment.a, segment.ab);
    double t = 0;
    if (segment.lengthSquared > 0 && along > 0) {
        t = along >= segment.lengthSquared ? 1.0
                                           : std::clamp(along / segment.lengthSquared, 0.0, 1.0);
    }
    const QPointF foot = segment.a + t * segment.ab;
    return {t, p.x() - foot.x(), p.y() - foot.y()};
}

// How far along the median the point nearest to `p` lies, in pixels: on the first segment of
// the least distance as std::hypot measures it. Every pixel of a stroke asks this of every
// segment and hypot is slow, so the squared distances find the nearest first; only the
// segments about as near are measured with hypot, which gives hypot's own answer, since a
// segment clearly farther in the square is farther by hypot too. `feet` is scratch room.
double travelToNearest(const QPointF& p, const std::vector<Segment>& segments,
                       std::vector<Foot>& feet) {
    // Far above the rounding of either measure.
    constexpr double kClearlyFarther = 1 + 1e-9;
    feet.clear();
    double leastSquared = std::numeric_limits<double>::max();
    for (const Segment& segment : segments) {
        feet.push_back(footOn(p, segment));
        leastSquared = std::min(leastSquared, feet.back().squared());
    }
    double nearest = std::numeric_limits<double>::max();
    double at = 0;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const Foot& foot = feet[i];
        if (foot.squared() > leastSquared * kClearlyFarther) {
            continue;
        }
        const double distance = std::hypot(foot.dx, foot.dy);
        if (distance < nearest) {
            nearest = distance;
            at = segments[i].travelledBefore + foot.t * std::sqrt(segments[i].lengthSquared);
        }
    }
    return at;
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
    reach_.resize(masks_.size());
    base_ = guideImage(frameSize, square_, QImage::Format_RGB32, QImage::Format_Grayscale8,
                       style_.background, style_.guide);
    for (int level = 0; level < 256; ++level) {
        quantised_[static_cast<std::size_t>(level)] = static_cast<uchar>(level);
    }
    if (style_.greyLevels >= 2 && style_.greyLevels < 256) {
        const int step = 255 / (style_.greyLevels - 1);
        for (int level = 0; level < 256; ++level) {
            quantised_[static_cast<std::size_t>(level)] =
                static_cast<uchar>((level + step / 2) / step * step);
        }
    }
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
    for (int y = area.top(); y <= area.bottom(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = area.left(); x <= area.right(); ++x) {
            line[x] = quantised_[line[x]];
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

const std::vector<float>& WritingRenderer::reachOf(int strokeIndex) {
    std::vector<float>& reach = reach_[static_cast<std::size_t>(strokeIndex)];
    if (!reach.empty()) {
        return reach;
    }
    const GlyphStroke& stroke = glyph_.strokes[static_cast<std::size_t>(strokeIndex)];
    const StrokeMask& mask = masks_[static_cast<std::size_t>(strokeIndex)];
    const QTransform toImage = glyphToSquare(square_);
    const QPolygonF median = toImage.map(stroke.median);
    std::vector<Segment> segments;
    double travelled = 0;
    for (qsizetype i = 1; i < median.size(); ++i) {
        const QPointF step = median[i] - median[i - 1];
        segments.push_back({median[i - 1], step, QPointF::dotProduct(step, step), travelled});
        travelled += std::hypot(step.x(), step.y());
    }
    std::vector<Foot> feet;
    feet.reserve(segments.size());
    const double unitsPerPixel = 1.0 / toImage.m11();
    reach.assign(static_cast<std::size_t>(mask.bounds.width()) * mask.bounds.height(), 0.0f);
    std::size_t index = 0;
    for (int y = mask.bounds.top(); y <= mask.bounds.bottom(); ++y) {
        for (int x = mask.bounds.left(); x <= mask.bounds.right(); ++x, ++index) {
            if (mask.at(x, y) != 0) {
                reach[index] = static_cast<float>(
                    travelToNearest(QPointF(x + 0.5, y + 0.5), segments, feet) * unitsPerPixel);
            }
        }
    }
    return reach;
}

// The outline, kept only where the pen has passed; the edge where it is writing is a pixel
// wide ramp, so that it stays smooth.
void WritingRenderer::drawPartialStroke(QImage& image, int strokeIndex, double progress) {
    const GlyphStroke& stroke = glyph_.strokes[static_cast<std::size_t>(strokeIndex)];
    const StrokeMask& mask = masks_[static_cast<std::size_t>(strokeIndex)];
    const std::vector<float>& reach = reachOf(strokeIndex);
    const double pixelsPerUnit = glyphToSquare(square_).m11();
    const double travelled = progress * stroke.medianLength;
    const unsigned ink = static_cast<unsigned>(qGray(style_.written.rgb()));
    std::size_t index = 0;
    for (int y = mask.bounds.top(); y <= mask.bounds.bottom(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = mask.bounds.left(); x <= mask.bounds.right(); ++x, ++index) {
            const unsigned outline = mask.at(x, y);
            if (outline == 0) {
                continue;
            }
            const double pen = (travelled - reach[index]) * pixelsPerUnit + 0.5;
            if (pen <= 0) {
                continue;  // not reached yet: no coverage
            }
            const auto coverage =
                pen >= 1 ? outline : static_cast<unsigned>(std::lround(outline * pen));
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
