// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/key_filter.h"

#include <optional>
#include <string>

#include "platform/gb2312.h"

namespace qir::selection {
namespace {

std::optional<std::string> bytesOf(char32_t character) {
    if (character < 0x80) {
        return std::string(1, static_cast<char>(character));
    }
    return gb2312::fromUnicode(QString::fromUcs4(&character, 1));
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
        bool passed = true;
        for (char byte : *bytes) {
            if (!passesKeyFilter(static_cast<unsigned char>(byte))) {
                ++result.refusals;
                passed = false;
            }
        }
        if (!passed || isControl(character) || full) {
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
