// SPDX-License-Identifier: GPL-3.0-or-later
// How soon the handwriting pad opens (offscreen): made and shown, its first paint done, ten
// times; and how long the first stroke's candidates take when drawn at once, while the
// matcher's templates are still being built from the vector table.
//   handwriting_pad_opening_bench [STORE_FOLDER]
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/practice/store_characters.h"
#include "handwriting_pad/handwriting_pad.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const std::filesystem::path folder = qir::practice::bench::storeFolder(argc, argv);
    std::vector<double> opening;
    for (int round = 0; round < 10; ++round) {
        const Clock::time_point start = Clock::now();
        auto pad = std::make_unique<qir::handwriting_pad::HandwritingPad>(
            qir::handwriting::RecogniserSources{folder});
        pad->show();
        pad->repaint();
        QCoreApplication::processEvents();
        opening.push_back(millisecondsSince(start));
        if (round == 0) {
            const Clock::time_point stroke = Clock::now();
            pad->addStroke({{0.2, 0.5}, {0.8, 0.5}});
            std::printf(
                "first stroke drawn at once: candidates after %.0f ms (the templates "
                "being built)\n",
                millisecondsSince(stroke));
            const Clock::time_point second = Clock::now();
            pad->addStroke({{0.5, 0.15}, {0.5, 0.85}});
            std::printf("second stroke: candidates after %.1f ms\n", millisecondsSince(second));
        }
    }
    const double first = opening.front();
    std::sort(opening.begin(), opening.end());
    std::printf("pad opened: first %.1f ms; of 10, median %.1f ms, worst %.1f ms\n", first,
                opening[opening.size() / 2], opening.back());
    return 0;
}
