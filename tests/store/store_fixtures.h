// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small table files for the store's tests, written through the real writer.

#include <string>
#include <vector>

#include "store/table_file.h"

namespace qir::testing {

// "photo of <name>" as bytes, so a blob tells which row it came from.
Bytes photoOf(const std::string& filename);
// One row per filename, each with photoOf(filename).
std::vector<store::TableRow> rowsNamed(const std::vector<std::string>& filenames);
void writeTable(const store::TableLayout& layout, const std::vector<std::string>& filenames);

// GB2312 bytes of a few characters, spelled out so the test files stay ASCII.
inline const std::string kA = "\xB0\xA1";  // the first GB2312 character
inline const std::string kB = "\xB0\xA2";
inline const std::string kC = "\xB0\xA3";
inline const std::string kD = "\xB0\xA4";
inline const std::string kE = "\xB0\xA5";

}  // namespace qir::testing
