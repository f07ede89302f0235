// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "--practice [TEXT]": the practice window alone, with TEXT's characters in turn (or none, to
// choose one in the window), its record in the user's working folder.
#ifndef QIR_APP_INTERNALS
#error "app/practice_command.h is private to app/"
#endif

#include <functional>

#include "commandline/command_line.h"

namespace qir::app {

// Exit status: 0 every character was practised; 3 the window opened without the characters
// named on standard error; 1 none could be (or the store or the display failed); 2 a wrong
// command line.
inline constexpr int kPractised = 0;
inline constexpr int kNothingToPractise = 1;
inline constexpr int kPractisedWithoutSome = 3;

// `enterWorkingFolder` makes the folder the window works in (the tables and the record) the
// current directory, as a start of the window does; it throws when it cannot.
cli::Command practiceCommand(std::function<void()> enterWorkingFolder);

}  // namespace qir::app
