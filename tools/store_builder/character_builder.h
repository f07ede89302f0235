// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Renders everything the store keeps for one character: its clip, its step pictures and its
// strokes in vector form.

#include <filesystem>
#include <string>
#include <vector>

#include "tools/store_builder/character_data.h"
#include "tools/store_builder/character_set.h"
#include "tools/store_builder/jpeg_encoder.h"
#include "tools/store_builder/order_corrections.h"
#include "tools/store_builder/writing_animation.h"

namespace qir::tools {

struct RenderSettings {
    WritingPace pace;
    // At 62 x 62 pixels quality 50 looks like 70 and keeps the stroke table a fifth smaller.
    JpegSettings jpeg{50, true};
};

struct StepPicture {
    std::string key;  // the character's two bytes and the step as two ASCII digits
    std::vector<unsigned char> jpeg;
};

struct BuiltCharacter {
    std::string key;
    int strokeCount = 0;
    std::vector<unsigned char> clip;  // AVI
    std::vector<StepPicture> steps;   // in step order
    // The row of the vector table.
    std::vector<unsigned char> strokeVectors;
};

// "01" ... "99": a Filename of four bytes sorts in step order.
std::string stepKey(const std::string& characterKey, int step);

// Renders one character from its parsed data. Throws StrokeDataError when it has more steps
// than two digits can number, EncodeError or JpegEncodeError when encoding fails.
BuiltCharacter renderCharacter(const std::string& key, const CharacterData& data,
                               const RenderSettings& settings = {});

// Reads "<text>.json" from `dataFolder`, puts its strokes in the order `corrections` gives
// for it, and renders it. Throws StrokeDataError for a missing, unreadable or unusable file.
BuiltCharacter buildCharacter(const CharacterEntry& character,
                              const std::filesystem::path& dataFolder,
                              const RenderSettings& settings = {},
                              const OrderCorrections& corrections = {});

}  // namespace qir::tools
