// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/character_reading.h"

#include <string>

#include "platform/file_io.h"

namespace qir::tools {

CharacterData readCharacterFile(const std::filesystem::path& dataFolder, const QString& text) {
    const std::filesystem::path file =
        dataFolder / std::filesystem::u8path(text.toStdString() + ".json");
    const std::optional<std::string> json = readWholeFile(file);
    if (!json) {
        throw StrokeDataError("cannot read " + file.string());
    }
    try {
        return parseCharacterJson(*json);
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
