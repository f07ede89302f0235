// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/show_me_pace.h"

#include <algorithm>
#include <cmath>

namespace qir::practice {
namespace {

constexpr double kFrameSeconds = 1.0 / 15;
constexpr double kRestSeconds = 3 * kFrameSeconds;
constexpr int kMinStrokeFrames = 4;  // even a 点 grows long enough to show its way
constexpr int kMaxStrokeFrames = 15;

double strokeSeconds(double length) {
    const double frames = std::ceil(length / (kShowMeBoxesPerSecond * kFrameSeconds) - 1e-9);
    return std::clamp(static_cast<int>(frames), kMinStrokeFrames, kMaxStrokeFrames) * kFrameSeconds;
}

}  // namespace

double showMeDuration(const std::vector<double>& strokeLengths) {
    double seconds = 0;
    for (double length : strokeLengths) {
        seconds += kRestSeconds + strokeSeconds(length);
    }
    return seconds;
}

ShowMeMoment showMeAt(const std::vector<double>& strokeLengths, double seconds) {
    ShowMeMoment moment;
    double start = 0;
    for (double length : strokeLengths) {
        start += kRestSeconds;
        if (seconds < start) {
            return moment;
        }
        const double duration = strokeSeconds(length);
        if (seconds < start + duration) {
            moment.activeStroke = moment.completedStrokes;
            // A stroke too short or too long for the clip's speed still takes whole frames.
            moment.travelled = length * (seconds - start) / duration;
            return moment;
        }
        start += duration;
        ++moment.completedStrokes;
    }
    moment.finished = true;
    return moment;
}

}  // namespace qir::practice
