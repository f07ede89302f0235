// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/character_set.h"

#include <QList>
#include <algorithm>
#include <optional>

#include "platform/gb2312.h"

namespace qir::tools {

std::vector<CharacterEntry> allGb2312Hanzi() {
    std::vector<CharacterEntry> characters;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const std::string key{static_cast<char>(lead), static_cast<char>(trail)};
            const QString text = gb2312::toUnicode(key);
            // The last five places of row 55 are unassigned.
            if (text.size() == 1 && text[0] != QChar::ReplacementCharacter) {
                characters.push_back({key, text});
            }
        }
    }
    return characters;
}

std::vector<CharacterEntry> charactersFromText(const QString& text) {
    std::vector<CharacterEntry> characters;
    const QList<uint> codePoints = text.toUcs4();
    for (const uint codePoint : codePoints) {
        const QString character =
            QString::fromUcs4(reinterpret_cast<const char32_t*>(&codePoint), 1);
        if (character.trimmed().isEmpty() || character == ",") {
            continue;
        }
        const std::optional<std::string> key = gb2312::fromUnicode(character);
        if (!key || !gb2312::isGb2312Hanzi(*key)) {
            throw CharacterListError("\"" + character.toStdString() +
                                     "\" is not a GB2312 Chinese character");
        }
        characters.push_back({*key, character});
    }
    std::sort(characters.begin(), characters.end(),
              [](const CharacterEntry& a, const CharacterEntry& b) { return a.key < b.key; });
    characters.erase(std::unique(characters.begin(), characters.end(),
                                 [](const CharacterEntry& a, const CharacterEntry& b) {
                                     return a.key == b.key;
                                 }),
                     characters.end());
    return characters;
}

}  // namespace qir::tools
