// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's practice sheet:
//   qir-stroke --practice-sheet TEXT --output FILE.pdf [--page a4|letter] [--grid GRID]
//              [--box MM] [--rows ROWS] [--title TEXT] [--name-line] [--no-pinyin]
// writes the sheet and ends, without a window, a display or a word to a running instance.
// The program's one command line (commandline/) parses it; this is its command.

#include <QString>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "commandline/command_line.h"
#include "sheet/practice_sheet.h"
#include "sheet/sheet_options.h"

namespace qir::sheet {

// Exit codes.
inline constexpr int kSheetWritten = 0;
inline constexpr int kNothingWritten = 1;
inline constexpr int kUsageError = cli::kUsageExit;
inline constexpr int kWrittenWithoutSome = 3;

using UsageError = cli::UsageError;

struct SheetArguments {
    QString text;
    std::filesystem::path output;
    SheetOptions options;  // on the locale's paper unless --page is given
};

// The sheet's values from a parsed command line; TEXT is UTF-8, the file name is taken byte
// for byte. Throws UsageError.
SheetArguments sheetArguments(const cli::Invocation& invocation);

// The command for the program's command line; `storeFolder` is where the tables are read.
// Running it sets up a display-less application, so it also works over ssh.
cli::Command sheetCommand(const std::filesystem::path& storeFolder);

// Writes the sheet of `arguments` with the tables in `storeFolder`, reporting on `out` and
// `err`; returns the exit code. Needs a QGuiApplication.
int runSheet(const SheetArguments& arguments, const std::filesystem::path& storeFolder,
             std::FILE* out, std::FILE* err);

}  // namespace qir::sheet
