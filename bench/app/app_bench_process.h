// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every benchmark of the whole program sets up before it measures: the offscreen
// platform, a runtime folder of its own (so a running program neither takes over nor is
// found), a QApplication with the program's fonts and the clip decoder linked in, and the stage
// folder with the built store.

#include <QApplication>
#include <QTemporaryDir>
#include <filesystem>
#include <optional>

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

// Makes the current folder a working folder on the stage's store: its read-only tables
// linked, the scratch table copied.
void linkStoreInto(const std::filesystem::path& stage);

}  // namespace qir::bench
