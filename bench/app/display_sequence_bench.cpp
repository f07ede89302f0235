// SPDX-License-Identifier: GPL-3.0-or-later
// From a character committed into the input box to its last stroke picture stored and drawn:
// the whole display sequence on the real store, offscreen. Run it from the stage folder, or
// point QIR_STAGE_DIR at one.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <filesystem>
#include <memory>

#include "bench/app/app_bench_process.h"
#include "strokes/stroke_order.h"

namespace {

namespace fs = std::filesystem;

// The window, and typing into it.
struct Program {
    explicit Program(const fs::path& stage) : window(stage), edit(&window.edit()) {}
    void type(const QString& character) {
        QInputMethodEvent commit;
        commit.setCommitString(character);
        QApplication::sendEvent(edit, &commit);
    }

    qir::bench::BenchWindow window;
    qir::testing::RecordingDesktop& desktop = window.desktop;
    qir::app::Application& application = window.application;
    QLineEdit* edit;
};

std::unique_ptr<Program> program;

void typedCharacterShown(benchmark::State& state, const char* character) {
    const QString text = QString::fromUtf8(character);
    for (auto _ : state) {
        state.PauseTiming();
        program->edit->clear();
        state.ResumeTiming();
        program->type(text);
    }
    if (!program->desktop.errors.isEmpty()) {
        state.SkipWithError(program->desktop.errors.first().toStdString().c_str());
    }
    state.counters["display_table_bytes"] = static_cast<double>(fs::file_size("bishunbmp.db"));
}

BENCHMARK_CAPTURE(typedCharacterShown, one_stroke_yi, "一")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(typedCharacterShown, ten_strokes_a, "啊")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(typedCharacterShown, twenty_three_strokes_guan, "罐")
    ->Unit(benchmark::kMillisecond);

// A key of the animation table that is no character ("%" matched every step row of the store
// as a pattern): the steps' rebuild only empties the display table.
void strokeRebuildOfAKeyThatIsNoCharacter(benchmark::State& state) {
    qir::store::CharacterStore& store = program->application.store();
    for (auto _ : state) {
        qir::strokes::ShowStrokeOrder("%", store, 24);
    }
    state.counters["display_table_bytes"] = static_cast<double>(fs::file_size("bishunbmp.db"));
}
BENCHMARK(strokeRebuildOfAKeyThatIsNoCharacter)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const qir::bench::AppBenchProcess process(argc, argv);
    const std::optional<fs::path> stage = process.stage();
    if (!stage) {
        return 1;
    }
    program = std::make_unique<Program>(*stage);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    program.reset();
    return 0;
}
