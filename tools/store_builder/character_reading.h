// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where every character's strokes come from: its data file, parsed, with its reviewed order
// correction applied. Everything the store holds (clips, step pictures, any later table) and the
// order checker read a character through here, so all of them follow the corrected order.

#include <QString>
#include <filesystem>

#include "tools/store_builder/character_data.h"
#include "tools/store_builder/character_set.h"
#include "tools/store_builder/order_corrections.h"

namespace qir::tools {

// Reads and parses "<text>.json" from `dataFolder`, as the data package has it. Throws
// StrokeDataError, naming the file, when it is missing, unreadable or unusable.
CharacterData readCharacterFile(const std::filesystem::path& dataFolder, const QString& text);

// The character's strokes in writing order: its data file with the correction that
// `corrections` holds for it, if any, applied to outlines and medians together.
CharacterData readCharacterData(const CharacterEntry& character,
                                const std::filesystem::path& dataFolder,
                                const OrderCorrections& corrections);

}  // namespace qir::tools
