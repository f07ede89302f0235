// SPDX-License-Identifier: GPL-3.0-or-later
// Lookups and the stroke display rebuild against a store of full size: 6,763 characters and
// about 60,000 stroke steps. The tables are built once into $QIR_BENCH_DIR (default
// /tmp/qir-store-bench) and re-used by later runs.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "store/character_store.h"
#include "store/character_store_access.h"
#include "store/table_file.h"

namespace {

using namespace qir;
using namespace qir::store;

constexpr int kCharacters = 6763;
constexpr std::size_t kClipBytes = 24 * 1024;
constexpr std::size_t kStepBytes = 3 * 1024;

// The i-th two-byte code from B0A1 on, 94 to a row, as GB2312's level-1 and level-2 blocks.
std::string characterAt(int index) {
    std::string code(2, '\0');
    code[0] = static_cast<char>(0xB0 + index / 94);
    code[1] = static_cast<char>(0xA1 + index % 94);
    return code;
}

// "01", "02", ...: two bytes that keep a character's steps in order.
std::string stepSuffix(int step) {
    return {static_cast<char>('0' + step / 10), static_cast<char>('0' + step % 10)};
}

// The character the lookups use has 20 steps; the others 1 to 17.
const int kProbe = 3000;
int stepsOf(int index) {
    return index == kProbe ? 20 : 1 + index % 17;
}

Bytes noise(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& byte : bytes) {
        byte = static_cast<unsigned char>(random());
    }
    return bytes;
}

std::filesystem::path prepareStore() {
    const char* configured = std::getenv("QIR_BENCH_DIR");
    const std::filesystem::path folder = configured ? configured : "/tmp/qir-store-bench";
    std::filesystem::create_directories(folder);
    if (!std::filesystem::exists(folder / "bishun.db")) {
        std::fprintf(stderr, "building the benchmark store in %s ...\n", folder.c_str());
        const Bytes clip = noise(kClipBytes, 1);
        const Bytes step = noise(kStepBytes, 2);
        TableFileWriter animation(folder / "donghua.db", kAnimationTable);
        TableFileWriter strokes(folder / "bishun.db", kStrokeTable);
        int rows = 0;
        for (int i = 0; i < kCharacters; ++i) {
            animation.addRow(characterAt(i), clip);
            for (int s = 1; s <= stepsOf(i); ++s) {
                strokes.addRow(characterAt(i) + stepSuffix(s), step);
                ++rows;
            }
        }
        animation.commit();
        strokes.commit();
        std::fprintf(stderr, "%d characters, %d stroke rows\n", kCharacters, rows);
    }
    writeTableFile(folder / "bishunbmp.db", kStrokeDisplayTable, {});
    return folder;
}

struct Fixture {
    Fixture() {
        std::filesystem::current_path(prepareStore());
        store.addPassword(kStorePassword);
        store.connect();
    }
    CharacterStore store;
};

Fixture& fixture() {
    static Fixture shared;
    return shared;
}

// "%" + character + "%", as the clip and step lookups build it.
std::string containing(const std::string& hanzi) {
    std::string pattern = "%";
    pattern += hanzi;
    pattern += '%';
    return pattern;
}

void runQuery(Query& query, const std::string& parameter) {
    query.close();
    query.setParamAsString(parameter);
    query.open();
}

void BM_Query2TypedCharacter(benchmark::State& state) {
    Query& query = dataSetsOf(fixture().store).query2;
    const std::string hanzi = characterAt(kProbe);
    for (auto _ : state) {
        runQuery(query, hanzi);
        benchmark::DoNotOptimize(query.recordCount());
    }
}

void BM_Query2ClipLookup(benchmark::State& state) {
    Query& query = dataSetsOf(fixture().store).query2;
    const std::string pattern = containing(characterAt(kProbe));
    for (auto _ : state) {
        runQuery(query, pattern);
        benchmark::DoNotOptimize(query.blobSize("Photo"));
    }
}

void BM_QuerybsTwentySteps(benchmark::State& state) {
    Query& query = dataSetsOf(fixture().store).querybs;
    const std::string pattern = containing(characterAt(kProbe));
    for (auto _ : state) {
        runQuery(query, pattern);
        if (query.recordCount() != 20) {
            state.SkipWithError("the probe character has not 20 steps");
            break;
        }
    }
}

void BM_LocateAndMove(benchmark::State& state) {
    Table& cursor = dataSetsOf(fixture().store).tablenextprev;
    cursor.open();
    int index = 0;
    for (auto _ : state) {
        index = (index + 2477) % kCharacters;
        cursor.locate("filename", characterAt(index));
        cursor.moveBy(1);
        benchmark::DoNotOptimize(cursor.fieldAsString("filename"));
    }
}

void BM_EmptyAndAppendTwentySteps(benchmark::State& state) {
    Table& table = dataSetsOf(fixture().store).tablebmp;
    const Bytes picture = noise(20 * 1024, 3);
    for (auto _ : state) {
        table.close();
        table.emptyTable();
        table.open();
        for (int s = 1; s <= 20; ++s) {
            table.append();
            table.setFieldAsString("Filename", characterAt(kProbe) + stepSuffix(s));
            table.setBlob("Photo", picture);
            table.post();
        }
    }
}

void BM_OpenSteppingCursor(benchmark::State& state) {
    Table& cursor = dataSetsOf(fixture().store).tablenextprev;
    for (auto _ : state) {
        cursor.close();
        cursor.open();
        benchmark::DoNotOptimize(cursor.recordCount());
    }
}

BENCHMARK(BM_Query2TypedCharacter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Query2ClipLookup)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QuerybsTwentySteps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LocateAndMove)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EmptyAndAppendTwentySteps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenSteppingCursor)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
