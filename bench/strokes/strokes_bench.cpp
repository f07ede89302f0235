// Stroke pictures: one conversion through the files against decoding in memory, and whole
// rebuilds of the stroke display table with the grid redrawing offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <chrono>

#include "platform/file_io.h"
#include "strokes/jpeg_decoder.h"
#include "strokes/jpeg_to_bmp.h"
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

// A whole rebuild for a character of `steps` steps, the grid shown and redrawing.
void Rebuild(benchmark::State& state) {
    const int steps = static_cast<int>(state.range(0));
    testing::ScratchDirectory scratch;
    const auto rows = testing::strokeRows(testing::kLong, steps, kSide);
    testing::writeStrokeTables(rows);
    testing::OpenedStore opened;
    QWidget window;
    window.resize(460, 200);
    strokes::RecordGrid grid(&window);
    if (state.range(1) != 0) {
        grid.setDataSet(&opened.store.tablebmp);
    }
    window.show();
    QApplication::processEvents();

    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        strokes::ShowStrokeOrder(testing::kLong, opened.store.querybs, opened.store.tablebmp,
                                 kScreen);
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

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
