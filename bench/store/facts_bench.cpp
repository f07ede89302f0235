// SPDX-License-Identifier: GPL-3.0-or-later
// Look-ups in the real facts table "bishunzi.db": the first one (which opens the file) and
// later ones over all of GB2312's characters, with and without the summary line. The table is
// read from $QIR_STORE_DIR, default the build's character store.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gb2312.h"
#include "store/character_facts.h"

namespace {

using namespace qir;

std::filesystem::path storeFolder() {
    const char* configured = std::getenv("QIR_STORE_DIR");
    return configured != nullptr ? configured : QIR_BUILT_STORE_DIR;
}

// GB2312's 6,763 characters in code order, as the store keys them.
std::vector<std::string> allCharacters() {
    std::vector<std::string> characters;
    for (int lead = 0xB0; lead <= 0xF7; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const std::string key{static_cast<char>(lead), static_cast<char>(trail)};
            if (gb2312::isGb2312Hanzi(key)) {
                characters.push_back(key);
            }
        }
    }
    return characters;
}

void BM_FirstLookUpOpensTheTable(benchmark::State& state) {
    const std::filesystem::path folder = storeFolder();
    for (auto _ : state) {
        store::FactsTable table(folder);
        benchmark::DoNotOptimize(table.find("\xD3\xC0"));  // 永
    }
}
BENCHMARK(BM_FirstLookUpOpensTheTable)->Unit(benchmark::kMicrosecond);

void BM_LookUp(benchmark::State& state) {
    const std::vector<std::string> characters = allCharacters();
    store::FactsTable table(storeFolder());
    std::size_t next = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        const auto facts = table.find(characters[next]);
        found += facts ? 1 : 0;
        next = (next + 977) % characters.size();  // wanders over the whole table
    }
    state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_LookUp)->Unit(benchmark::kMicrosecond);

void BM_LookUpAndSummaryLine(benchmark::State& state) {
    const std::vector<std::string> characters = allCharacters();
    store::FactsTable table(storeFolder());
    std::size_t next = 0;
    for (auto _ : state) {
        const std::string& key = characters[next];
        if (const auto facts = table.find(key)) {
            benchmark::DoNotOptimize(store::factsLine(gb2312::toUnicode(key), *facts));
        }
        next = (next + 977) % characters.size();
    }
}
BENCHMARK(BM_LookUpAndSummaryLine)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
