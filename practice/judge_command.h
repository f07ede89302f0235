// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's judge, for scripts and tests:
//   qir-stroke --judge CHARACTER FILE [--leniency strict|normal|gentle]
// reads strokes from FILE (one stroke a line, "x,y" pairs separated by blanks, in a 1000 x
// 1000 box with y downwards) and prints one verdict a stroke ("1 right", "2 wrong order:
// matches stroke 4", ...), without a window.

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "commandline/command_line.h"
#include "practice/stroke_judge.h"

namespace qir::practice {

// Exit codes, as the practice sheet's.
inline constexpr int kJudged = 0;
inline constexpr int kNothingJudged = 1;
inline constexpr int kJudgeUsageError = 2;
inline constexpr int kJudgedWithoutSome = 3;  // lines that are no stroke were left out

// The largest stroke file read; a longer one is refused before it fills the memory.
inline constexpr std::uintmax_t kMostStrokeFileBytes = 16 * 1024 * 1024;

struct JudgeArguments {
    std::string character;  // UTF-8, as given
    std::filesystem::path file;
    Leniency leniency = Leniency::Normal;
};

// The command's arguments from a command line that chose it. Throws cli::UsageError for what
// the parser cannot know: more or less than one character, an unknown leniency.
JudgeArguments judgeArguments(const cli::Invocation& given);

// Judges the strokes of `arguments.file` against the character in the tables of
// `storeFolder`: verdicts on `out`, problems on `err`. Returns the exit code.
int runJudge(const JudgeArguments& arguments, const std::filesystem::path& storeFolder,
             std::ostream& out, std::ostream& err);

// "--judge CHARACTER FILE [--leniency strict|normal|gentle]" for the program's command line,
// on the standard streams.
cli::Command judgeCommand(const std::filesystem::path& storeFolder);

}  // namespace qir::practice
