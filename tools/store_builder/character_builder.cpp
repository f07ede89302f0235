// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/store_builder/character_builder.h"

#include "tools/store_builder/avi_clip_encoder.h"
#include "tools/store_builder/character_reading.h"
#include "tools/store_builder/glyph.h"
#include "tools/store_builder/stroke_picture.h"
#include "tools/store_builder/vector_record.h"

namespace qir::tools {

std::string stepKey(const std::string& characterKey, int step) {
    return characterKey + static_cast<char>('0' + step / 10) + static_cast<char>('0' + step % 10);
}

BuiltCharacter renderCharacter(const std::string& key, const CharacterData& data,
                               const RenderSettings& settings) {
    const Glyph glyph = makeGlyph(data);
    BuiltCharacter built;
    built.key = key;
    built.strokeCount = static_cast<int>(glyph.strokes.size());
    if (built.strokeCount > 99) {
        throw StrokeDataError(std::to_string(built.strokeCount) +
                              " strokes, more than two digits can number");
    }

    WritingRenderer renderer(glyph, kClipFrameSize, settings.pace);
    AviClipEncoder clip(kClipFrameSize, kClipFramesPerSecond);
    for (const FramePlan& frame : planWriting(glyph, settings.pace)) {
        clip.addFrame(renderer.frame(frame));
    }
    built.clip = clip.finish();

    const std::vector<QImage> pictures = renderStrokeSteps(glyph);
    for (int step = 1; step <= built.strokeCount; ++step) {
        built.steps.push_back(
            {stepKey(key, step),
             encodeJpeg(pictures[static_cast<std::size_t>(step - 1)], settings.jpeg)});
    }
    // From the very data the pictures were drawn from, so both show the same strokes.
    built.strokeVectors = vectorRow(data);
    return built;
}

BuiltCharacter buildCharacter(const CharacterEntry& character,
                              const std::filesystem::path& dataFolder,
                              const RenderSettings& settings, const OrderCorrections& corrections) {
    const CharacterData data = readCharacterData(character, dataFolder, corrections);
    try {
        return renderCharacter(character.key, data, settings);
    } catch (const std::exception& e) {
        const std::filesystem::path file =
            dataFolder / std::filesystem::u8path(character.text.toStdString() + ".json");
        throw StrokeDataError(file.string() + ": " + e.what());
    }
}

}  // namespace qir::tools
