// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A character store in the scratch directory with a stroke table made of real step pictures.

#include <string>
#include <vector>

#include "platform/file_io.h"
#include "store/character_store.h"

namespace qir::testing {

inline const std::string kYi = "\xD2\xBB";    // one stroke
inline const std::string kShi = "\xCA\xAE";   // two strokes
inline const std::string kRen = "\xC8\xCB";   // another character, to be left out
inline const std::string kLong = "\xD7\xD6";  // stands in for a many-step character

struct StrokeRow {
    std::string filename;
    Bytes photo;
};

// `steps` rows for `hanzi`, named hanzi + "01", "02", ..., each a stroke picture of `side`.
std::vector<StrokeRow> strokeRows(const std::string& hanzi, int steps, int side = 100);

// Writes "bishun.db" with `rows` and an empty "bishunbmp.db".
void writeStrokeTables(const std::vector<StrokeRow>& rows);

// The program's store with its password given, as the main window has it.
struct OpenedStore {
    OpenedStore();
    store::CharacterStore store;
};

}  // namespace qir::testing
