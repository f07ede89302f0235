// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every benchmark of the whole program sets up before it measures: the offscreen
// platform, a runtime folder of its own (so a running program neither takes over nor is
// found), a QApplication with the program's fonts and the clip decoder linked in, the stage
// folder with the built store, and the program's window on it.

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <filesystem>
#include <optional>

#include "app/application.h"
#include "app/tform1.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/scratch_directory.h"

namespace qir::bench {

class AppBenchProcess {
  public:
    AppBenchProcess(int& argc, char** argv);

    // QIR_STAGE_DIR, or the build's stage folder; nothing, said on the standard error, when
    // it holds no store.
    std::optional<std::filesystem::path> stage() const;

  private:
    QTemporaryDir runtime_;
    std::optional<QApplication> application_;
};

// A working folder of its own on the stage's store, entered: its read-only tables linked,
// the scratch table copied.
class StoreDirectory {
  public:
    explicit StoreDirectory(const std::filesystem::path& stage);

  private:
    testing::ScratchDirectory directory_;
};

// The program's window on the stage's store, shown, with its error boxes recorded. It is never
// claimed as the running instance, so a running program is left alone.
struct BenchWindow {
    explicit BenchWindow(const std::filesystem::path& stage);
    // The input box characters are typed into.
    QLineEdit& edit() const;

    StoreDirectory store;
    testing::RecordingDesktop desktop;
    app::Application application;
    TForm1 form;
};

}  // namespace qir::bench
