// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A vector table file of made-up characters, written through the store's own writer.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "store/stroke_vectors.h"
#include "store/table_file.h"
#include "store/vector_table.h"

namespace qir::testing {

// GB2312 bytes of characters the tests use, spelled out so the files stay ASCII.
inline const std::string kYong = "\xD3\xC0";  // 永
inline const std::string kWo = "\xCE\xD2";    // 我

inline void writeVectorTable(
    const std::filesystem::path& folder,
    const std::vector<std::pair<std::string, store::StrokeVectors>>& characters,
    std::string_view password = store::kStorePassword) {
    std::vector<store::TableRow> rows;
    for (const auto& [hanzi, vectors] : characters) {
        rows.push_back({hanzi, store::vectorRowBytes(vectors)});
    }
    store::writeTableFile(folder / store::kVectorTable.fileName, store::kVectorTable, rows,
                          password);
}

}  // namespace qir::testing
