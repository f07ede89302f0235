// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's command line: every command it runs instead of opening its window, and the
// toolkit's own options, which only the window takes. A new command is one line here.

#include <filesystem>
#include <functional>

#include "commandline/command_line.h"

namespace qir::app {

inline constexpr const char* kProgramName = "qir-stroke";

// `storeFolder` is where the commands read the read-only tables; the practice window, which
// keeps a record, first enters the working folder as a start of the window does.
cli::CommandLine programCommandLine(const std::filesystem::path& storeFolder,
                                    std::function<void()> enterWorkingFolder);

}  // namespace qir::app
