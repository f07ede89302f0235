// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drops the JUNK chunks a RIFF file (an AVI) carries as room for later editing.

#ifndef QIR_STORE_BUILDER_INTERNALS
#error "tools/store_builder/riff_compaction.h is private to its folder"
#endif

#include <span>
#include <vector>

namespace qir::tools {

// Returns the file without its JUNK chunks, with the sizes of the enclosing lists corrected.
// The "movi" list is copied as it stands, so the index, whose offsets count from "movi",
// stays valid. Throws EncodeError when the bytes are not a well-formed RIFF file.
std::vector<unsigned char> withoutJunkChunks(std::span<const unsigned char> riff);

}  // namespace qir::tools
