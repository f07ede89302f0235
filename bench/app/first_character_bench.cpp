// SPDX-License-Identifier: GPL-3.0-or-later
// The first character after a start against a later one, on the real store, offscreen, with
// the event loop running until the grid and the clip's first frame are painted. Each sample is
// a fresh process (the program runs itself with --once), since only a fresh process shows what
// a start costs. The first character is typed as soon as the window is shown and, apart, after
// a second and a half, as a person would (the window reads the tables ahead from a second after
// it shows). Run it from the stage folder, or point QIR_STAGE_DIR at one; an optional argument
// sets the number of starts (default 9).
#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/app/app_bench_process.h"

namespace {

namespace fs = std::filesystem;

// Typed, and the event loop run until nothing is left but the clip's frame timer.
double showCharacter(QLineEdit& edit, const char* character) {
    QElapsedTimer timer;
    timer.start();
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8(character));
    QApplication::sendEvent(&edit, &commit);
    QApplication::sendPostedEvents();
    QApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// One start: prints "first later" in milliseconds.
int once(const fs::path& stage, int waitMs) {
    qir::bench::BenchWindow window(stage);
    const qir::testing::RecordingDesktop& desktop = window.desktop;
    QLineEdit* edit = &window.edit();
    if (waitMs > 0) {
        QElapsedTimer idle;
        idle.start();
        while (idle.elapsed() < waitMs) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
    }
    const double first = showCharacter(*edit, "罐");
    edit->clear();
    showCharacter(*edit, "啊");
    edit->clear();
    const double later = showCharacter(*edit, "罐");
    if (!desktop.errors.isEmpty()) {
        std::fprintf(stderr, "%s\n", desktop.errors.first().toUtf8().constData());
        return 1;
    }
    std::printf("%.3f %.3f\n", first, later);
    return 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void report(const char* what, const std::vector<double>& first, const std::vector<double>& later) {
    std::vector<double> gap;
    for (std::size_t i = 0; i < first.size(); ++i) {
        gap.push_back(first[i] - later[i]);
    }
    std::printf(
        "%s: 罐 first after start median %.2f ms (min %.2f, max %.2f); later median %.2f ms"
        "; first minus later median %.2f ms\n",
        what, median(first), *std::min_element(first.begin(), first.end()),
        *std::max_element(first.begin(), first.end()), median(later), median(gap));
}

}  // namespace

int main(int argc, char** argv) {
    const qir::bench::AppBenchProcess process(argc, argv);
    const std::optional<fs::path> found = process.stage();
    if (!found) {
        return 1;
    }
    const fs::path& stage = *found;
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() >= 3 && arguments[1] == QStringLiteral("--once")) {
        return once(stage, arguments[2].toInt());
    }
    const int runs = arguments.size() >= 2 ? std::max(1, arguments[1].toInt()) : 9;
    for (const int waitMs : {0, 1500}) {
        std::vector<double> first;
        std::vector<double> later;
        for (int run = 0; run < runs; ++run) {
            QProcess process;
            process.start(QApplication::applicationFilePath(),
                          {QStringLiteral("--once"), QString::number(waitMs)});
            if (!process.waitForFinished(60000) || process.exitCode() != 0) {
                std::fprintf(stderr, "a run failed: %s\n",
                             process.readAllStandardError().constData());
                return 1;
            }
            double f = 0;
            double l = 0;
            if (std::sscanf(process.readAllStandardOutput().constData(), "%lf %lf", &f, &l) != 2) {
                return 1;
            }
            first.push_back(f);
            later.push_back(l);
        }
        report(waitMs == 0 ? "typed at once" : "typed after 1.5 s", first, later);
    }
    return 0;
}
