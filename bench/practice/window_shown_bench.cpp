// SPDX-License-Identifier: GPL-3.0-or-later
// From "Write it yourself…" (its shortcut, Ctrl+E) in the real main window to the practice
// window's writing box painted, offscreen, on the real store with 永 shown. The first time
// also opens the vector table; the rounds after it are what a learner sees every other time.
// Prints both; the goal is 150 ms. Run it from the stage folder, or point QIR_STAGE_DIR at one.
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/application.h"
#include "app/tform1.h"
#include "desktop/fonts.h"
#include "practice_window/practice_window.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A working directory with the stage folder's tables: the read-only ones linked, the scratch
// table copied.
class StoreDirectory {
  public:
    explicit StoreDirectory(const fs::path& stage) {
        for (const char* table : {"donghua.db", "bishun.db", "bishunvec.db"}) {
            fs::create_symlink(stage / table, table);
        }
        fs::copy_file(stage / "bishunbmp.db", "bishunbmp.db");
    }

  private:
    qir::testing::ScratchDirectory directory_;
};

// Notes when any writing box is first painted.
class BoxPainted : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint &&
            qobject_cast<qir::practice_window::WritingBox*>(watched) != nullptr) {
            painted = true;
        }
        return false;
    }
};

QShortcut* writeItYourselfKey(QWidget& form) {
    for (QShortcut* shortcut : form.findChildren<QShortcut*>()) {
        if (shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_E)) {
            return shortcut;
        }
    }
    return nullptr;
}

// Milliseconds from the entry to the box painted, or a negative number when it never was.
double openOnce(QWidget& form, QShortcut& entry, BoxPainted& watcher) {
    watcher.painted = false;
    const auto start = Clock::now();
    emit entry.activated();
    const auto limit = start + std::chrono::seconds(5);
    while (!watcher.painted && Clock::now() < limit) {
        QApplication::processEvents();
    }
    const double milliseconds =
        std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    auto* window = form.findChild<qir::practice_window::PracticeWindow*>();
    if (window != nullptr) {
        window->close();  // deletes itself
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    return watcher.painted && window != nullptr ? milliseconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication application(argc, argv);
    qir::installFontSubstitutions();
    const char* stage = std::getenv("QIR_STAGE_DIR");
    const fs::path stageDir = fs::absolute(stage != nullptr ? stage : QIR_DEFAULT_STAGE_DIR);
    if (!fs::exists(stageDir / "bishunvec.db")) {
        std::fprintf(stderr, "no vector table in %s\n", stageDir.c_str());
        return 1;
    }
    StoreDirectory store(stageDir);
    qir::testing::RecordingDesktop desktop;
    qir::app::Application program(desktop,
                                  qir::InstanceAddress::ofThisUser(QStringLiteral("QirBench")));
    qir::TForm1 form(program);
    form.show();
    auto* edit = form.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    QShortcut* entry = writeItYourselfKey(form);
    if (edit == nullptr || entry == nullptr) {
        std::fprintf(stderr, "the main window has no input box or no Ctrl+E\n");
        return 1;
    }
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("永"));
    QApplication::sendEvent(edit, &commit);
    QApplication::processEvents();

    BoxPainted watcher;
    application.installEventFilter(&watcher);
    const double first = openOnce(form, *entry, watcher);
    std::vector<double> times;
    for (int round = 0; round < 30; ++round) {
        times.push_back(openOnce(form, *entry, watcher));
    }
    if (first < 0 || std::ranges::any_of(times, [](double t) { return t < 0; }) ||
        !desktop.errors.isEmpty()) {
        std::fprintf(stderr, "the practice window did not show: %s\n",
                     desktop.errors.join(QStringLiteral("; ")).toUtf8().constData());
        return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("first opening (the vector table opened too): %.1f ms\n", first);
    std::printf("later openings, %zu rounds: median %.1f ms, slowest %.1f ms\n",
                times.size(), times[times.size() / 2], times.back());
    std::printf("goal: 150 ms\n");
    return 0;
}
