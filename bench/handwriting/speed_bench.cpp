// SPDX-License-Identifier: GPL-3.0-or-later
// How fast candidates come after a stroke: characters of up to 30 strokes drawn stroke by
// stroke (clean, with a fixed seed), the candidates asked for after each stroke as the pad asks
// for them, by our matcher and by zinnia. Prints the 50th and 99th percentile and the worst, by
// the number of strokes drawn, in the thread's processor time (what the machine's other work
// does not change) and in wall-clock time, and what building the matcher's templates and loading
// the model cost in time and memory.
//   handwriting_speed_bench [STORE_FOLDER] [--every N] [--model FILE]
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "bench/practice/store_characters.h"
#include "handwriting/median_matcher.h"
#include "handwriting/zinnia_model.h"
#include "handwriting_samples.h"
#include "store/vector_table.h"

namespace {

using namespace qir::handwriting;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kMostStrokesTimed = 30;

// The processor time this thread has used, in milliseconds.
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The process's resident memory in MB, from /proc.
double residentMb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atof(line.c_str() + 6) / 1024;
        }
    }
    return 0;
}

double percentile(std::vector<double> times, double share) {
    if (times.empty()) {
        return 0;
    }
    std::sort(times.begin(), times.end());
    return times[std::min(times.size() - 1, static_cast<std::size_t>(share * times.size()))];
}

void printTimes(const char* what, const std::vector<double>& times) {
    std::printf("  %-22s %6zu calls   p50 %6.2f ms   p99 %6.2f ms   worst %6.2f ms\n", what,
                times.size(), percentile(times, 0.5), percentile(times, 0.99),
                times.empty() ? 0 : *std::max_element(times.begin(), times.end()));
}

}  // namespace

int main(int argc, char** argv) {
    int every = 5;
    std::filesystem::path model = kDebianModel;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--every") == 0 && i + 1 < argc) {
            every = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--model") == 0 && i + 1 < argc) {
            model = argv[++i];
        }
    }
    const std::filesystem::path folder = qir::practice::bench::storeFolder(argc, argv);

    double before = residentMb();
    Clock::time_point start = Clock::now();
    qir::store::VectorTable table(folder);
    const MedianMatcher matcher(templatesOf(table));
    std::printf(
        "matcher's templates: built from the vector table in %.0f ms; %.1f MB "
        "(%.1f MB resident added with the table)\n",
        millisecondsSince(start), static_cast<double>(matcher.templates().bytes()) / (1024 * 1024),
        residentMb() - before);
    before = residentMb();
    start = Clock::now();
    const ZinniaModel zinnia(model);
    std::printf("zinnia's model: loaded in %.0f ms; %.1f MB resident added (%zu classes)\n",
                millisecondsSince(start), residentMb() - before, zinnia.classes());
    const double touched = residentMb();
    {
        const Ink one{{{0.2, 0.5}, {0.8, 0.5}}};
        zinnia.rank(one, kCandidatesShown);
    }
    std::printf("  after its first use: %.1f MB resident added\n", residentMb() - touched);

    const auto characters = qir::practice::bench::storeCharacters(folder);
    std::map<std::size_t, std::vector<double>> ownByCount;
    std::vector<double> own;
    std::vector<double> ownWall;
    std::vector<double> theirs;
    for (std::size_t c = 0; c < characters.size(); c += static_cast<std::size_t>(every)) {
        if (characters[c].medians.size() > kMostStrokesTimed) {
            continue;
        }
        std::mt19937 random(20261223 + static_cast<unsigned>(c));
        const auto ink = bench::drawnByALearner(characters[c].medians, bench::Slip::None, random);
        for (std::size_t n = 1; n <= ink->size(); ++n) {
            const std::span<const Polyline> drawn(ink->data(), n);
            start = Clock::now();
            double processor = threadMilliseconds();
            matcher.rank(drawn, kCandidatesShown);
            const double ms = threadMilliseconds() - processor;
            ownWall.push_back(millisecondsSince(start));
            own.push_back(ms);
            ownByCount[(n - 1) / 5].push_back(ms);
            processor = threadMilliseconds();
            zinnia.rank(drawn, kCandidatesShown);
            theirs.push_back(threadMilliseconds() - processor);
        }
    }
    std::printf("candidates after a stroke, characters of up to %zu strokes (every %d.):\n",
                kMostStrokesTimed, every);
    printTimes("our matcher (cpu)", own);
    printTimes("our matcher (wall)", ownWall);
    printTimes("zinnia (cpu)", theirs);
    for (const auto& [bucket, times] : ownByCount) {
        const std::string what = "  matcher, stroke " + std::to_string(bucket * 5 + 1) + "-" +
                                 std::to_string(bucket * 5 + 5);
        printTimes(what.c_str(), times);
    }
    return 0;
}
