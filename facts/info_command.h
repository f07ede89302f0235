// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's character facts, for teachers' word lists:
//   qir-stroke --info TEXT
// prints one tab-separated line per character: the character, its readings, radical, remaining
// strokes, stroke count and gloss. It opens no window and needs no display.

#include <QString>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "commandline/command_line.h"
#include "store/character_facts.h"

namespace qir::facts {

// Exit codes, those of the practice sheet command.
inline constexpr int kAllDescribed = 0;
inline constexpr int kNoneDescribed = 1;
inline constexpr int kUsageError = 2;
inline constexpr int kSomeNotDescribed = 3;

// The line of one character: "永\tyǒng\t水\t1\t5\tlong, perpetual, eternal, forever".
// Readings are apart by ", "; a field the facts lack is empty.
QString infoLine(const QString& character, const store::CharacterFacts& facts);

// Describes every character of `text` (UTF-8; blanks are left out) from the facts table in
// `storeFolder`; the characters it cannot describe are named on `err`. Returns the exit code.
int runInfo(const QString& text, const std::filesystem::path& storeFolder, std::FILE* out,
            std::FILE* err);

// "--info TEXT" for the program's command line, on `out` and `err`.
cli::Command infoCommand(const std::filesystem::path& storeFolder, std::FILE* out = stdout,
                         std::FILE* err = stderr);

}  // namespace qir::facts
