// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/character_reading.h"

#include <fstream>
#include <iterator>
#include <string>

namespace qir::tools {

CharacterData readCharacterFile(const std::filesystem::path& dataFolder, const QString& text) {
    const std::filesystem::path file =
        dataFolder / std::filesystem::u8path(text.toStdString() + ".json");
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw StrokeDataError("cannot read " + file.string());
    }
    const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw StrokeDataError("cannot read " + file.string());
    }
    try {
        return parseCharacterJson(json);
    } catch (const StrokeDataError& e) {
        throw StrokeDataError(file.string() + ": " + e.what());
    }
}

CharacterData readCharacterData(const CharacterEntry& character,
                                const std::filesystem::path& dataFolder,
                                const OrderCorrections& corrections) {
    CharacterData data = readCharacterFile(dataFolder, character.text);
    const OrderCorrection* correction = corrections.find(character.key);
    if (correction == nullptr || !correction->reorders()) {
        return data;
    }
    try {
        return reorderStrokes(data, correction->order);
    } catch (const StrokeDataError& e) {
        throw StrokeDataError(corrections.source() + ":" + std::to_string(correction->line) + ": " +
                              e.what());
    }
}

}  // namespace qir::tools
