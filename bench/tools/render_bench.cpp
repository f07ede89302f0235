// SPDX-License-Identifier: GPL-3.0-or-later
// Rendering cost per character: the writing clip (frames and ZMBV/AVI encoding) and the step
// pictures (drawing and JPEG), for a simple, an average and a dense character.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/store_builder/avi_clip_encoder.h"
#include "tools/store_builder/character_builder.h"
#include "tools/store_builder/glyph.h"
#include "tools/store_builder/stroke_picture.h"
#include "tools/store_builder/writing_animation.h"

namespace {
using namespace qir::tools;

// 人 (2 strokes), 我 (7), 罐 (23)
const char* const kCharacters[] = {"人", "我", "罐"};

CharacterData load(int index) {
    const std::filesystem::path file =
        std::filesystem::path(QIR_STROKE_DATA_DIR) /
        std::filesystem::u8path(std::string(kCharacters[index]) + ".json");
    std::ifstream in(file, std::ios::binary);
    const std::string json((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parseCharacterJson(json);
}

void BM_ClipFrames(benchmark::State& state) {
    const Glyph glyph = makeGlyph(load(static_cast<int>(state.range(0))));
    const auto plan = planWriting(glyph);
    for (auto _ : state) {
        WritingRenderer renderer(glyph);
        for (const FramePlan& frame : plan) {
            benchmark::DoNotOptimize(renderer.frame(frame));
        }
    }
    state.counters["frames"] = static_cast<double>(plan.size());
}

void BM_ClipEncode(benchmark::State& state) {
    const Glyph glyph = makeGlyph(load(static_cast<int>(state.range(0))));
    WritingRenderer renderer(glyph);
    std::vector<QImage> frames;
    for (const FramePlan& frame : planWriting(glyph)) {
        frames.push_back(renderer.frame(frame));
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        AviClipEncoder encoder(kClipFrameSize, kClipFramesPerSecond);
        for (const QImage& frame : frames) {
            encoder.addFrame(frame);
        }
        bytes = encoder.finish().size();
    }
    state.counters["clip_bytes"] = static_cast<double>(bytes);
}

void BM_StepPictures(benchmark::State& state) {
    const Glyph glyph = makeGlyph(load(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderStrokeSteps(glyph));
    }
    state.counters["pictures"] = static_cast<double>(glyph.strokes.size());
}

void BM_WholeCharacter(benchmark::State& state) {
    const CharacterData data = load(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const BuiltCharacter built = renderCharacter("\xB0\xA1", data);
        bytes = built.clip.size();
        for (const StepPicture& step : built.steps) {
            bytes += step.jpeg.size();
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

BENCHMARK(BM_ClipFrames)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClipEncode)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepPictures)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeCharacter)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
