// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The version the program and its tools say with --version: the project's, from CMake.

#include <QString>

namespace qir::cli {

QString projectVersion();

}  // namespace qir::cli
