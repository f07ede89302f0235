// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text functions the store's query texts use, byte-exact over GB2312: a character is one
// byte below 0x80 or two bytes from a byte at or above 0x80 on.

#ifndef QIR_STORE_INTERNALS
#error "store/text_functions.h is private to its folder"
#endif

#include <cstddef>
#include <string_view>

#include "platform/gb2312.h"

struct sqlite3;

namespace qir::store {

// SQL's trim is the program's one trim: every byte at or below 0x20 at both ends.
using gb2312::trimmed;

// Case-sensitive pattern match of the whole `text`: "%" stands for any run of characters
// (none included), "_" for one character; every other character matches itself. There is no
// escape character. Linear in memory, O(pattern x text) at worst; it never recurses.
bool likeMatches(std::string_view pattern, std::string_view text);

// Bytes of the character that starts at `offset`: 1 or 2 (1 for a lead byte at the very end).
inline std::size_t characterLength(std::string_view text, std::size_t offset) {
    const bool lead = static_cast<unsigned char>(text[offset]) >= 0x80;
    return lead && offset + 1 < text.size() ? 2 : 1;
}

// Puts `trim(x)`, `x like y` and a refusing `like(y, x, escape)` on the connection; returns the
// engine's result code.
int registerTextFunctions(sqlite3* connection);

}  // namespace qir::store
