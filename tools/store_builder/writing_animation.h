#pragma once
// The frames of a character being written: a round pen travels along each stroke's median,
// revealing the stroke's outline as it goes; a short pause follows each stroke and the whole
// character is held at the end.

#include <QImage>
#include <QSize>
#include <vector>

#include "tools/store_builder/glyph.h"
#include "tools/store_builder/render_style.h"

namespace qir::tools {

inline constexpr QSize kClipFrameSize{152, 124};
inline constexpr int kClipFramesPerSecond = 15;

// Pace of the writing, in frames and glyph units (the glyph box is 1024 units wide).
struct WritingPace {
    int leadInFrames = 5;         // guide and pending strokes before the first stroke starts
    double unitsPerFrame = 80;    // pen travel along the median per frame
    int minStrokeFrames = 3;
    int maxStrokeFrames = 15;
    int pauseFrames = 3;          // after each stroke but the last
    int holdFrames = 23;          // the finished character
    double penRadius = 80;        // wide enough to cover the broadest stroke
};

struct FramePlan {
    int completedStrokes = 0;  // strokes drawn in full
    int activeStroke = -1;     // the stroke being written, or -1
    double progress = 0;       // share of the active stroke's median travelled, (0, 1]
    bool operator==(const FramePlan&) const = default;
};

std::vector<FramePlan> planWriting(const Glyph& glyph, const WritingPace& pace = {});

// Renders frames of one glyph; keeps the strokes already finished so that each frame only
// draws the stroke in progress.
class WritingRenderer {
  public:
    WritingRenderer(const Glyph& glyph, QSize frameSize = kClipFrameSize,
                    const WritingPace& pace = {}, const RenderStyle& style = clipStyle());

    // A Grayscale8 frame. Frames must be asked for with completedStrokes never decreasing.
    QImage frame(const FramePlan& plan);

  private:
    void finishStrokesUpTo(int count);

    const Glyph& glyph_;
    WritingPace pace_;
    RenderStyle style_;
    QRectF square_;
    QImage base_;  // guide, pending strokes and the finished ones
    int finished_ = 0;
};

}  // namespace qir::tools
