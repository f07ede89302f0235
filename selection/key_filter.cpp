// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/key_filter.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/gb2312.h"

namespace qir::selection {
namespace {

// A character as the input method delivers it: one ASCII byte, or the two bytes of a Chinese
// character of the code page. Nothing for anything else, which the code page lacks or holds
// in one byte (the euro sign): the box takes two-byte characters only.
std::optional<std::string> bytesOf(char32_t character) {
    if (character < 0x80) {
        return std::string(1, static_cast<char>(character));
    }
    auto bytes = gb2312::fromUnicode(QString::fromUcs4(&character, 1));
    if (!bytes || bytes->size() != 2) {
        return std::nullopt;
    }
    return bytes;
}

bool isControl(char32_t character) {
    return character < 0x20 || character == 0x7F;
}

}  // namespace

FilteredText filterTypedText(const QString& text, std::size_t byteBudget) {
    FilteredText result;
    std::size_t used = 0;
    bool full = false;
    for (char32_t character : text.toStdU32String()) {
        const auto bytes = bytesOf(character);
        if (!bytes) {
            ++result.refusals;
            continue;
        }
        // A character one of whose bytes is refused is refused whole, with one beep: a
        // code-page character whose second byte is ASCII never leaves its first in the box.
        const bool passed = std::all_of(bytes->begin(), bytes->end(), [](char byte) {
            return passesKeyFilter(static_cast<unsigned char>(byte));
        });
        if (!passed) {
            ++result.refusals;
            continue;
        }
        if (isControl(character) || full) {
            continue;
        }
        // Once a character does not fit, later ones are not inserted either: the text stays
        // in the order it was typed.
        if (used + bytes->size() > byteBudget) {
            full = true;
            continue;
        }
        used += bytes->size();
        result.accepted += QString::fromUcs4(&character, 1);
    }
    return result;
}

std::size_t gb2312Size(const QString& text) {
    std::size_t size = 0;
    for (char32_t character : text.toStdU32String()) {
        const auto bytes = bytesOf(character);
        size += bytes ? bytes->size() : 2;
    }
    return size;
}

}  // namespace qir::selection
