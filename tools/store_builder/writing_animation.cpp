#include "tools/store_builder/writing_animation.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace qir::tools {

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
    base_ = QImage(frameSize, QImage::Format_RGB32);
    base_.fill(style_.background);
    QPainter painter(&base_);
    drawGuide(painter, square_, style_.guide);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(style_.pending);
    painter.setTransform(glyphToSquare(square_));
    for (const GlyphStroke& stroke : glyph_.strokes) {
        painter.drawPath(stroke.outline);
    }
}

void WritingRenderer::finishStrokesUpTo(int count) {
    if (count < finished_) {
        throw std::logic_error("frames asked for out of order");
    }
    if (count == finished_) {
        return;
    }
    QPainter painter(&base_);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(style_.written);
    painter.setTransform(glyphToSquare(square_));
    for (; finished_ < count; ++finished_) {
        painter.drawPath(glyph_.strokes[static_cast<std::size_t>(finished_)].outline);
    }
}

QImage WritingRenderer::frame(const FramePlan& plan) {
    finishStrokesUpTo(plan.completedStrokes);
    QImage image = base_.copy();
    if (plan.activeStroke >= 0) {
        const GlyphStroke& stroke = glyph_.strokes[static_cast<std::size_t>(plan.activeStroke)];
        const QTransform toFrame = glyphToSquare(square_);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setTransform(toFrame);
        if (plan.progress >= 1.0) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(style_.written);
            painter.drawPath(stroke.outline);
        } else {
            // The outline, kept only where the pen has passed: coverage of the outline
            // times coverage of the pen's trail, so both edges stay smooth.
            QImage ink(image.size(), QImage::Format_ARGB32_Premultiplied);
            ink.fill(Qt::transparent);
            QPainter inkPainter(&ink);
            inkPainter.setRenderHint(QPainter::Antialiasing, true);
            inkPainter.setTransform(toFrame);
            inkPainter.setPen(Qt::NoPen);
            inkPainter.setBrush(style_.written);
            inkPainter.drawPath(stroke.outline);
            inkPainter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            inkPainter.setBrush(Qt::NoBrush);
            inkPainter.setPen(QPen(Qt::black, 2 * pace_.penRadius, Qt::SolidLine, Qt::RoundCap,
                                   Qt::RoundJoin));
            const QPolygonF trail =
                medianPrefix(stroke.median, plan.progress * stroke.medianLength);
            if (trail.size() == 1) {
                inkPainter.drawPoint(trail[0]);
            } else {
                inkPainter.drawPolyline(trail);
            }
            inkPainter.end();
            painter.resetTransform();
            painter.drawImage(0, 0, ink);
        }
    }
    QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    if (style_.greyLevels >= 2 && style_.greyLevels < 256) {
        const int step = 255 / (style_.greyLevels - 1);
        for (int y = 0; y < grey.height(); ++y) {
            uchar* line = grey.scanLine(y);
            for (int x = 0; x < grey.width(); ++x) {
                line[x] = static_cast<uchar>((line[x] + step / 2) / step * step);
            }
        }
    }
    return grey;
}

}  // namespace qir::tools
