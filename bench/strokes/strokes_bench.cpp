// SPDX-License-Identifier: GPL-3.0-or-later
// Stroke pictures: one conversion through the files against decoding in memory, and whole
// rebuilds of the stroke display table with the grid redrawing offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <array>
#include <chrono>
#include <filesystem>

#include "platform/file_io.h"
#include "store/dataset.h"
#include "strokes/pictures/jpeg_decoder.h"
#include "strokes/pictures/jpeg_to_bmp.h"
#include "strokes/record_grid.h"
#include "strokes/stroke_order.h"
#include "tests/strokes/jpeg_maker.h"
#include "tests/strokes/stroke_tables.h"
#include "tests/support/scratch_directory.h"

namespace {

using namespace qir;

constexpr int kScreen = 24;
constexpr int kSide = 120;

// The floor: the same picture decoded with the same settings, in memory, no files.
void DecodeInMemory(benchmark::State& state) {
    const Bytes jpeg = testing::makeStrokeJpeg(kSide, 5, 10);
    for (auto _ : state) {
        benchmark::DoNotOptimize(strokes::decodeJpeg(jpeg, kScreen));
    }
    state.counters["jpeg_bytes"] = static_cast<double>(jpeg.size());
}
BENCHMARK(DecodeInMemory)->Unit(benchmark::kMicrosecond);

void ConvertThroughFiles(benchmark::State& state) {
    testing::ScratchDirectory scratch;
    writeFileBytes("temp.jpg", testing::makeStrokeJpeg(kSide, 5, 10));
    for (auto _ : state) {
        strokes::ConvertJpegToBmp("temp.jpg", kScreen);
    }
}
BENCHMARK(ConvertThroughFiles)->Unit(benchmark::kMicrosecond);

double floorSeconds(const std::vector<testing::StrokeRow>& rows) {
    const auto start = std::chrono::steady_clock::now();
    constexpr int kRounds = 20;
    for (int round = 0; round < kRounds; ++round) {
        for (const auto& row : rows) {
            benchmark::DoNotOptimize(strokes::decodeJpeg(row.photo, kScreen));
        }
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
           kRounds;
}

// A built character store to measure with, from QIR_STROKE_STORE (a folder holding
// "bishun.db" with the characters below); made-up pictures when it is not given.
const std::array<std::string, 3> kRealCharacters = {
    {"\xD2\xBB", "\xB8\xDF", "\xB9\xDE"}};  // 1, 10, 23 steps

std::vector<testing::StrokeRow> realRows(const std::string& hanzi) {
    testing::OpenedStore opened;
    std::vector<testing::StrokeRow> rows;
    opened.store.forEachStep(hanzi, [&](const std::string& name, const Bytes& picture) {
        rows.push_back({name, picture});
    });
    return rows;
}

// A whole rebuild for a character of `steps` steps, the grid shown and redrawing.
void Rebuild(benchmark::State& state) {
    const int steps = static_cast<int>(state.range(0));
    testing::ScratchDirectory scratch;
    const QByteArray realStore = qgetenv("QIR_STROKE_STORE");
    std::string hanzi = testing::kLong;
    std::vector<testing::StrokeRow> rows;
    if (!realStore.isEmpty()) {
        for (const char* name : {"bishun.db", "bishunbmp.db"}) {
            std::filesystem::copy_file(std::filesystem::path(realStore.toStdString()) / name, name);
        }
        hanzi = kRealCharacters.at(steps == 1 ? 0 : steps == 10 ? 1 : 2);
        rows = realRows(hanzi);
        if (static_cast<int>(rows.size()) != steps) {
            state.SkipWithError("the store lacks the character");
            return;
        }
    } else {
        rows = testing::strokeRows(hanzi, steps, kSide);
        testing::writeStrokeTables(rows);
    }
    state.counters["jpeg_bytes_per_step"] = static_cast<double>(rows.front().photo.size());
    testing::OpenedStore opened;
    QWidget window;
    window.resize(460, 200);
    strokes::RecordGrid grid(&window);
    if (state.range(1) != 0) {
        grid.setDataSet(&opened.store.strokeDisplayTable());
    }
    window.show();
    QApplication::processEvents();

    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        strokes::ShowStrokeOrder(hanzi, opened.store, kScreen);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double floor = floorSeconds(rows);
    state.counters["floor_ms"] = floor * 1e3;
    // Wall time of one rebuild over the floor, for the same pictures.
    state.counters["ratio_to_floor"] = total / static_cast<double>(state.iterations()) / floor;
}
BENCHMARK(Rebuild)
    ->ArgNames({"steps", "grid"})
    ->Args({1, 1})
    ->Args({10, 1})
    ->Args({23, 1})
    ->Args({23, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
