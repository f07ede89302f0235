// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frames of a character being written: a pen travels along each stroke's median, revealing
// the part of the outline it has passed (each point of the outline shows once the pen reaches
// the nearest point of the median), so even a short 点 grows over several frames from where it
// starts; a short pause follows each stroke and the whole character is held at the end.

#include <QImage>
#include <QSize>
#include <array>
#include <vector>

#include "tools/store_builder/glyph.h"
#include "tools/store_builder/render_style.h"
#include "tools/store_builder/stroke_masks.h"

namespace qir::tools {

inline constexpr QSize kClipFrameSize{152, 124};
inline constexpr int kClipFramesPerSecond = 15;

// Pace of the writing, in frames and glyph units (the glyph box is 1024 units wide).
struct WritingPace {
    int leadInFrames = 3;       // the empty guide before the first stroke starts
    double unitsPerFrame = 80;  // pen travel along the median per frame
    int minStrokeFrames = 4;    // enough growing frames to show which way even a 点 goes
    int maxStrokeFrames = 15;
    int pauseFrames = 3;  // after each stroke but the last
    int holdFrames = 15;  // the finished character
};

struct FramePlan {
    int completedStrokes = 0;  // strokes drawn in full
    int activeStroke = -1;     // the stroke being written, or -1
    double progress = 0;       // share of the active stroke's median travelled, (0, 1]
    bool operator==(const FramePlan&) const = default;
};

std::vector<FramePlan> planWriting(const Glyph& glyph, const WritingPace& pace = {});

// Renders the frames of one glyph as Grayscale8 images. Frames must be asked for with
// completedStrokes never decreasing (as planWriting lists them).
class WritingRenderer {
  public:
    WritingRenderer(const Glyph& glyph, QSize frameSize = kClipFrameSize,
                    const WritingPace& pace = {}, const RenderStyle& style = clipStyle());

    QImage frame(const FramePlan& plan);

  private:
    void finishStrokesUpTo(int count);
    void drawPartialStroke(QImage& image, int stroke, double progress);
    const std::vector<float>& reachOf(int stroke);
    void quantise(QImage& image, const QRect& area) const;

    const Glyph& glyph_;
    WritingPace pace_;
    RenderStyle style_;
    QRectF square_;
    std::vector<StrokeMask> masks_;
    // Per stroke, for each pixel of its mask's bounds, how far along the median (in glyph
    // units) the pen must have travelled to reveal it; made when the stroke is first written.
    std::vector<std::vector<float>> reach_;
    std::array<uchar, 256> quantised_{};  // each grey level as quantise() leaves it
    QImage base_;                         // guide and the strokes finished so far
    int finished_ = 0;
    FramePlan lastPlan_{-1};
    QImage lastFrame_;
};

}  // namespace qir::tools
