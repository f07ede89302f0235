// SPDX-License-Identifier: GPL-3.0-or-later
// Preparing a user's working folder from an installation of the real file list: the first
// start of a new user, and a later start that finds the folder up to date. The installation's
// files are small stand-ins; the tables are only linked, so their size does not matter.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "workfolder/working_folder.h"

namespace {
namespace fs = std::filesystem;
using namespace qir::workfolder;

class ScratchInstallation {
  public:
    ScratchInstallation() {
        std::string pattern = (fs::temp_directory_path() / "qir-workfolder-bench-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        fs::create_directories(data());
        for (const ProgramFile& file : programFiles()) {
            // A skin bitmap's size, about.
            std::ofstream(data() / file.name) << std::string(2500, 'x');
        }
    }
    ~ScratchInstallation() { fs::remove_all(root_); }
    fs::path data() const { return root_ / "share" / "qir-stroke"; }
    fs::path home(int n) const { return root_ / ("home-" + std::to_string(n)); }

  private:
    fs::path root_;
};

void FirstStartOfANewUser(benchmark::State& state) {
    ScratchInstallation installation;
    int user = 0;
    for (auto _ : state) {
        prepareUserFolder(installation.data(), installation.home(++user) / "qir-stroke");
    }
}
BENCHMARK(FirstStartOfANewUser)->Unit(benchmark::kMicrosecond);

void LaterStart(benchmark::State& state) {
    ScratchInstallation installation;
    const fs::path folder = installation.home(0) / "qir-stroke";
    prepareUserFolder(installation.data(), folder);
    for (auto _ : state) {
        prepareUserFolder(installation.data(), folder);
    }
}
BENCHMARK(LaterStart)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
