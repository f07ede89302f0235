// SPDX-License-Identifier: GPL-3.0-or-later
#include "store_characters.h"

#include <cstdlib>

#include "practice/character_medians.h"
#include "store/vector_table.h"

namespace qir::practice::bench {

std::filesystem::path storeFolder(int argc, char** argv) {
    if (argc > 1 && argv[1][0] != '-') {
        return argv[1];
    }
    if (const char* folder = std::getenv("QIR_STORE_DIR")) {
        return folder;
    }
    return QIR_DEFAULT_STORE_DIR;
}

std::vector<StoreCharacter> storeCharacters(const std::filesystem::path& folder) {
    store::VectorTable table(folder);
    std::vector<StoreCharacter> characters;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const std::string hanzi{static_cast<char>(lead), static_cast<char>(trail)};
            if (const auto vectors = table.find(hanzi)) {
                characters.push_back({hanzi, characterMedians(*vectors)});
            }
        }
    }
    return characters;
}

}  // namespace qir::practice::bench
