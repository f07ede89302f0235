// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/store/store_fixtures.h"

namespace qir::testing {

Bytes photoOf(const std::string& filename) {
    const std::string text = "photo of " + filename;
    return Bytes(text.begin(), text.end());
}

std::vector<store::TableRow> rowsNamed(const std::vector<std::string>& filenames) {
    std::vector<store::TableRow> rows;
    for (const std::string& name : filenames) {
        rows.push_back({name, photoOf(name)});
    }
    return rows;
}

void writeTable(const store::TableLayout& layout, const std::vector<std::string>& filenames) {
    store::writeTableFile(layout.fileName, layout, rowsNamed(filenames));
}

}  // namespace qir::testing
