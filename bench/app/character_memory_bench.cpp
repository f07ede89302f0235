// SPDX-License-Identifier: GPL-3.0-or-later
// Memory of the window on the real store, offscreen: the resident peak after showing 罐 (23
// steps) first thing after the start, and the resident size after each of 500 different
// characters of the catalogue, which should stay where the first left it. Run it from the
// stage folder, or point QIR_STAGE_DIR at one; an optional argument sets the number of
// characters (default 500).
#include <malloc.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTreeWidgetItemIterator>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/tform1.h"
#include "bench/app/app_bench_process.h"
#include "selection/catalogue_tree.h"

namespace {

namespace fs = std::filesystem;

// Read calls the process made so far (the engine reads a page a call): a page cache bound
// below what the lookups scan shows as thousands of reads a character.
long readCalls() {
    std::ifstream io("/proc/self/io");
    std::string name;
    long value = 0;
    while (io >> name >> value) {
        if (name == "syscr:") {
            return value;
        }
    }
    return -1;
}

// A line of /proc/self/status in kilobytes ("VmRSS", "VmHWM").
long statusKilobytes(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0) {
            return std::strtol(line.c_str() + name.size() + 1, nullptr, 10);
        }
    }
    return -1;
}

void show(QLineEdit& edit, const QString& character) {
    edit.clear();
    QInputMethodEvent commit;
    commit.setCommitString(character);
    QApplication::sendEvent(&edit, &commit);
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

int run(const fs::path& stage, int count) {
    qir::bench::BenchWindow window(stage);
    qir::TForm1& form = window.form;
    const qir::testing::RecordingDesktop& desktop = window.desktop;
    QLineEdit* edit = &window.edit();
    std::printf("shown: resident %ld kB, peak %ld kB\n", statusKilobytes("VmRSS"),
                statusKilobytes("VmHWM"));
    show(*edit, QStringLiteral("罐"));
    const long afterFirst = statusKilobytes("VmRSS");
    std::printf("after 罐: resident %ld kB, peak %ld kB\n", afterFirst, statusKilobytes("VmHWM"));

    auto* tree = form.findChild<qir::selection::CatalogueTree*>(QStringLiteral("TreeView1"));
    std::vector<QString> characters;
    for (QTreeWidgetItemIterator it(tree, QTreeWidgetItemIterator::NoChildren); *it; ++it) {
        const QString text = (*it)->text(0);
        if (text.size() == 1 && text != QStringLiteral("罐")) {
            characters.push_back(text);
        }
    }
    if (static_cast<int>(characters.size()) < count) {
        std::fprintf(stderr, "the catalogue has only %zu characters\n", characters.size());
        return 1;
    }
    long highest = 0;
    const long readsBefore = readCalls();
    for (int i = 0; i < count; ++i) {
        show(*edit, characters[static_cast<std::size_t>(i)]);
        const long resident = statusKilobytes("VmRSS");
        highest = std::max(highest, resident);
        if ((i + 1) % 100 == 0) {
            std::printf("after %d more: resident %ld kB\n", i + 1, resident);
        }
    }
    if (!desktop.errors.isEmpty()) {
        std::fprintf(stderr, "%s\n", desktop.errors.first().toUtf8().constData());
        return 1;
    }
    const long last = statusKilobytes("VmRSS");
    std::printf("read calls per character after the first: %.1f; heap in use %zu kB\n",
                static_cast<double>(readCalls() - readsBefore) / count,
                mallinfo2().uordblks / 1024);
    std::printf(
        "after %d characters: resident %ld kB (highest on the way %ld kB), peak %ld kB; "
        "growth over the first: %ld kB\n",
        count + 1, last, highest, statusKilobytes("VmHWM"), last - afterFirst);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const qir::bench::AppBenchProcess process(argc, argv);
    const std::optional<fs::path> stage = process.stage();
    if (!stage) {
        return 1;
    }
    return run(*stage, argc >= 2 ? std::max(1, std::atoi(argv[1])) : 500);
}
