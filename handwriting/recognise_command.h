// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line's recogniser, for scripts and tests:
//   qir-stroke --recognise FILE
// reads strokes from FILE in the format of --judge (one stroke a line, "x,y" pairs separated
// by blanks, in a 1000 x 1000 box with y downwards) and prints the ten candidates, best first,
// one a line, without a window.

#include <filesystem>
#include <iosfwd>

#include "commandline/command_line.h"
#include "handwriting/recogniser.h"

namespace qir::handwriting {

// Exit codes, as --judge's.
inline constexpr int kRecognised = 0;
inline constexpr int kNothingRecognised = 1;
inline constexpr int kRecognisedWithoutSome = 3;  // lines that are no stroke were left out

// Recognises the strokes of `file`: candidates on `out` (UTF-8, one a line), problems on
// `err`. Returns the exit code: 1 when the file cannot be read or neither recogniser could be
// loaded.
int runRecognise(const std::filesystem::path& file, const RecogniserSources& sources,
                 std::ostream& out, std::ostream& err);

// "--recognise FILE" for the program's command line, on the standard streams.
cli::Command recogniseCommand(const std::filesystem::path& storeFolder);

}  // namespace qir::handwriting
