// SPDX-License-Identifier: GPL-3.0-or-later
// A flood of catalogue clicks on the real store, offscreen: 2,000 clicks queued faster than
// the window answers them, as an impatient user or a stuck mouse makes them, and the time
// until the window is idle again, with the cost of each click. Every click is handled, as a
// click in the catalogue is. Run it from the stage folder, or point QIR_STAGE_DIR at one;
// an optional argument sets the number of clicks.
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTreeWidgetItemIterator>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/tform1.h"
#include "bench/app/app_bench_process.h"
#include "selection/catalogue_tree.h"

namespace {

namespace fs = std::filesystem;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long residentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int run(const fs::path& stage, int clicks) {
    qir::bench::BenchWindow window(stage);
    qir::TForm1& form = window.form;
    const qir::testing::RecordingDesktop& desktop = window.desktop;
    auto* tree = form.findChild<qir::selection::CatalogueTree*>(QStringLiteral("TreeView1"));
    std::vector<QTreeWidgetItem*> characters;
    for (QTreeWidgetItemIterator it(tree, QTreeWidgetItemIterator::NoChildren); *it; ++it) {
        characters.push_back(*it);
    }
    if (characters.empty()) {
        std::fprintf(stderr, "the catalogue is empty\n");
        return 1;
    }
    QApplication::processEvents();

    // Every click is queued before the first is answered: a click does what the tree does
    // on a left click, select the node and report it.
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = cpuSeconds();
    for (int i = 0; i < clicks; ++i) {
        // Characters far apart in the catalogue, so no clip is the one just shown.
        QTreeWidgetItem* node = characters[(static_cast<std::size_t>(i) * 397) % characters.size()];
        QMetaObject::invokeMethod(
            tree,
            [tree, node] {
                tree->setCurrentItem(node);
                emit tree->clickedInTree();
            },
            Qt::QueuedConnection);
    }
    bool idle = false;
    QMetaObject::invokeMethod(
        tree, [&idle] { idle = true; }, Qt::QueuedConnection);
    while (!idle) {
        QApplication::processEvents(QEventLoop::AllEvents);
    }
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("click_flood: %d catalogue clicks queued at once\n", clicks);
    std::printf("  until idle    %8.2f s wall, %8.2f s CPU\n", seconds, cpu);
    std::printf("  per click     %8.2f ms wall\n", seconds * 1000.0 / clicks);
    std::printf("  peak resident %8.1f MB\n", static_cast<double>(residentKilobytes()) / 1024.0);
    std::printf("  errors shown  %8lld\n", static_cast<long long>(desktop.errors.size()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const qir::bench::AppBenchProcess process(argc, argv);
    const std::optional<fs::path> stage = process.stage();
    if (!stage) {
        return 1;
    }
    const int clicks = argc > 1 ? std::atoi(argv[1]) : 2000;
    return run(*stage, clicks > 0 ? clicks : 2000);
}
