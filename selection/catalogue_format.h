// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue's stored form: a count of top-level nodes, then every node depth-first, each a
// record size, six 32-bit values and its text (GB2312 bytes with a length byte in front).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qir::selection {

struct CatalogueNodeRecord {
    std::string text;  // GB2312 bytes, exactly as stored
    std::int32_t imageIndex = 0;
    std::int32_t selectedIndex = 0;
    std::int32_t stateIndex = -1;
    std::int32_t overlayIndex = -1;
    std::int32_t data = 0;
    std::vector<CatalogueNodeRecord> children;
};

// Reads a whole block. A block that is cut short, has a record size that does not match its
// text, nests deeper than two levels or carries bytes after its last node throws
// StreamReadError.
std::vector<CatalogueNodeRecord> decodeCatalogue(std::span<const unsigned char> block);

// Writes nodes in the same form. Texts longer than 255 bytes throw StreamWriteError.
std::vector<unsigned char> encodeCatalogue(const std::vector<CatalogueNodeRecord>& topLevel);

}  // namespace qir::selection
