// SPDX-License-Identifier: GPL-3.0-or-later
// From a pointer move to its ink painted in the writing box, offscreen: the practice window in
// Trace mode (every outline painted under the ink) writes characters of the store stroke by
// stroke with the mouse, a move every 1 % of the box, and each move is timed from its event to
// the end of the repaint it causes. Prints the median, the 99th percentile and the slowest per
// window size; the goal is one frame at 60 Hz (16.7 ms).
//   practice_ink_bench [STORE_FOLDER]
#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "practice/practice_character.h"
#include "practice_window/practice_window.h"
#include "store_characters.h"

namespace {

using namespace qir::practice;
using Clock = std::chrono::steady_clock;

// Counts the paints of one widget.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QObject* watched) { watched->installEventFilter(this); }
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

void send(QWidget& box, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, box.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&box, &event);
}

// The milliseconds of every move's way to the screen, writing each of `characters` once.
std::vector<double> inkTimes(const std::vector<PracticeCharacter>& characters, QSize size,
                             int& missedPaints) {
    QTemporaryDir folder;
    qir::practice_window::PracticeWindow window(
        characters, std::filesystem::path(folder.path().toStdString()) / kPracticeRecordFile);
    window.setMode(PracticeMode::Trace);
    window.resize(size);
    window.show();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        QApplication::processEvents();
    }
    QApplication::processEvents();
    qir::practice_window::WritingBox& box = window.writingBox();
    PaintCounter counter(&box);
    const double side = std::min(box.width(), box.height()) - 2.0;
    const auto at = [&](Point point) {
        return QPointF((box.width() - side) / 2 + point.x * side,
                       (box.height() - side) / 2 + point.y * side);
    };
    std::vector<double> times;
    for (std::size_t c = 0; c < characters.size(); ++c) {
        for (const Polyline& median : characters[c].medians) {
            const Polyline points =
                resampled(median, static_cast<std::size_t>(pathLength(median) / 0.01) + 2);
            send(box, QEvent::MouseButtonPress, at(points.front()), Qt::LeftButton);
            QApplication::processEvents();
            for (std::size_t i = 1; i + 1 < points.size(); ++i) {
                const int before = counter.paints;
                const auto start = Clock::now();
                send(box, QEvent::MouseMove, at(points[i]), Qt::LeftButton);
                QApplication::processEvents();
                times.push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                missedPaints += counter.paints == before ? 1 : 0;
            }
            send(box, QEvent::MouseButtonRelease, at(points.back()), Qt::NoButton);
            QApplication::processEvents();
        }
        window.next();
    }
    return times;
}

double at(const std::vector<double>& sorted, double share) {
    return sorted[std::min(sorted.size() - 1, static_cast<std::size_t>(share * sorted.size()))];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    qir::store::VectorTable table(bench::storeFolder(argc, argv));
    // 永 (5 strokes), 国 (8), 罐 (23: the most outlines under the ink).
    std::vector<PracticeCharacter> characters;
    for (const char* text : {"永", "国", "罐"}) {
        characters.push_back(practiceCharacter(QString::fromUtf8(text), table));
    }
    std::printf("%-12s %8s %10s %10s %10s %8s\n", "window", "moves", "median ms", "p99 ms",
                "slowest ms", "unpainted");
    for (const QSize size : {QSize(480, 640), QSize(1000, 1150), QSize(1800, 2000)}) {
        int missed = 0;
        std::vector<double> times = inkTimes(characters, size, missed);
        std::sort(times.begin(), times.end());
        std::printf("%4dx%-7d %8zu %10.3f %10.3f %10.3f %8d\n", size.width(), size.height(),
                    times.size(), at(times, 0.5), at(times, 0.99), times.back(), missed);
    }
    std::printf("goal: the 99th percentile within one frame at 60 Hz, 16.7 ms\n");
    return 0;
}
