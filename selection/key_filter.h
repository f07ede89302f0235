// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The input box's key filter. Every printable ASCII byte is refused; control bytes (Backspace,
// Enter, Esc, the clipboard shortcuts) and the bytes of the code page's Chinese characters
// (GB2312 and the rest of CP936) pass.

#ifndef QIR_SELECTION_INTERNALS
#error "selection/key_filter.h is private to its folder"
#endif

#include <QString>
#include <cstddef>

namespace qir::selection {

// The test `Edit1KeyPress` applies to one byte.
constexpr bool passesKeyFilter(unsigned char byte) {
    const bool refused = (byte >= 0x20 && byte <= 0x40) || (byte >= 0x5B && byte <= 0x60) ||
                         (byte >= 0x7B && byte <= 0x7E) || (byte >= 'a' && byte <= 'z') ||
                         (byte >= 'A' && byte <= 'Z');
    return !refused;
}

struct FilteredText {
    QString accepted;  // the characters to insert, in order
    int refusals = 0;  // one for each refused character
};

// Runs the characters of `text` through the filter as if typed one after another: each becomes
// its code-page bytes and every byte must pass, or the character is refused whole. A character
// the code page does not hold in two bytes cannot become bytes and is refused. Control
// characters pass without being text, so they are not kept. Kept characters stop once the
// next one would not fit in `byteBudget`.
FilteredText filterTypedText(const QString& text, std::size_t byteBudget);

// The code-page size of `text`, counting a character that cannot become bytes as two.
std::size_t gb2312Size(const QString& text);

}  // namespace qir::selection
