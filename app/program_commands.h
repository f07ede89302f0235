// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's command line: every command it runs instead of opening its window, and the
// toolkit's own options, which only the window takes. A new command is one line here.

#include <filesystem>

#include "commandline/command_line.h"

namespace qir::app {

inline constexpr const char* kProgramName = "qir-stroke";

// `storeFolder` is where the commands read the read-only tables.
cli::CommandLine programCommandLine(const std::filesystem::path& storeFolder);

}  // namespace qir::app
