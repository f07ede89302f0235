// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's practice sheet:
//   qir-stroke --practice-sheet TEXT --output FILE.pdf [--page a4|letter]
// writes the sheet and ends, without a window, a display or a word to a running instance.

#include <QString>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "sheet/practice_sheet.h"

namespace qir::sheet {

// Exit codes.
inline constexpr int kSheetWritten = 0;
inline constexpr int kNothingWritten = 1;
inline constexpr int kUsageError = 2;
inline constexpr int kWrittenWithoutSome = 3;

// The command line is wrong; the message says how.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct SheetArguments {
    bool help = false;
    QString text;
    std::filesystem::path output;
    std::optional<Paper> paper;  // the locale's paper when not given
};

// True when the arguments (without the program's name) ask for the command line rather
// than the window: any of --practice-sheet, --output, --page, --help or -h.
bool asksForSheetCommand(const std::vector<std::string>& arguments);

// Reads "--name value" and "--name=value"; TEXT is UTF-8, the file name is taken byte for
// byte. Throws UsageError.
SheetArguments parseSheetArguments(const std::vector<std::string>& arguments);

// The --help text; it names the folder the store is read from.
QString sheetCommandHelp(const std::filesystem::path& storeFolder);

// Writes the sheet of `arguments` with the tables in `storeFolder`, reporting on `out` and
// `err`; returns the exit code. Needs a QGuiApplication.
int runSheet(const SheetArguments& arguments, const std::filesystem::path& storeFolder,
             std::FILE* out, std::FILE* err);

// The whole command from main(): sets up a display-less application, parses, runs.
int runSheetCommand(int argc, char** argv, const std::filesystem::path& storeFolder);

}  // namespace qir::sheet
