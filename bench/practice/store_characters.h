// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every character of the vector table with its medians, for the practice benchmarks.

#include <filesystem>
#include <string>
#include <vector>

#include "practice/geometry.h"

namespace qir::practice::bench {

struct StoreCharacter {
    std::string hanzi;  // GB2312 bytes
    std::vector<Polyline> medians;
};

// The store folder: the first argument, else QIR_STORE_DIR, else the build's own store.
std::filesystem::path storeFolder(int argc, char** argv);

// All of GB2312's Chinese characters the table in `folder` holds, in code order.
std::vector<StoreCharacter> storeCharacters(const std::filesystem::path& folder);

}  // namespace qir::practice::bench
