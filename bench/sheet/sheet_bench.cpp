// SPDX-License-Identifier: GPL-3.0-or-later
// A practice sheet of 30 characters written to PDF from the real store's vector table, and the
// same with the table's first opening and the look-ups. Prints the time, the pages, and the
// PDF's size per page. Run it from the stage folder, or point QIR_STAGE_DIR at one.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "desktop/fonts.h"
#include "platform/gb2312.h"
#include "sheet/practice_sheet.h"
#include "sheet/sheet_characters.h"
#include "sheet/sheet_options.h"
#include "store/vector_table.h"

namespace {

namespace fs = std::filesystem;
using namespace qir;

// Thirty characters, most of a first-year list, from one stroke to thirty.
const QString kThirty =
    QStringLiteral("一人大天中国学生写字好看书本日月水火山石田土木花鸟鱼我永罐爨");

fs::path stageFolder() {
    const char* stage = std::getenv("QIR_STAGE_DIR");
    return stage != nullptr ? fs::path(stage) : fs::path(QIR_DEFAULT_STAGE_DIR);
}

// A private folder for the PDFs, removed at the end.
class OutputFolder {
  public:
    OutputFolder() {
        std::string pattern = (fs::temp_directory_path() / "qir-sheet-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~OutputFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

void reportSheet(benchmark::State& state, const fs::path& pdf, int pages, int characters) {
    const double bytes = static_cast<double>(fs::file_size(pdf));
    state.counters["characters"] = characters;
    state.counters["pages"] = pages;
    state.counters["KB"] = bytes / 1024;
    state.counters["KB_per_page"] = bytes / 1024 / pages;
}

void sheetOfThirtyToPdf(benchmark::State& state) {
    OutputFolder output;
    store::VectorTable table(stageFolder());
    const sheet::SheetSelection selection = sheet::selectSheetCharacters(kThirty, table);
    if (selection.characters.size() != 30) {
        state.SkipWithError("the stage folder's vector table lacks some of the characters");
        return;
    }
    const fs::path pdf = output.path() / "sheet.pdf";
    int pages = 0;
    for (auto _ : state) {
        pages = sheet::writePracticeSheetPdf(pdf, selection.characters,
                                             sheet::SheetOptions{.paper = sheet::Paper::A4},
                                             AtomicFile::Existing::Replace);
    }
    reportSheet(state, pdf, pages, 30);
}
BENCHMARK(sheetOfThirtyToPdf)->Unit(benchmark::kMillisecond);

// What the first sheet of a session costs: the table's opening, the look-ups, the PDF.
void firstSheetOfThirty(benchmark::State& state) {
    OutputFolder output;
    const fs::path pdf = output.path() / "sheet.pdf";
    int pages = 0;
    for (auto _ : state) {
        store::VectorTable table(stageFolder());
        const sheet::SheetSelection selection = sheet::selectSheetCharacters(kThirty, table);
        pages = sheet::writePracticeSheetPdf(pdf, selection.characters,
                                             sheet::SheetOptions{.paper = sheet::Paper::A4},
                                             AtomicFile::Existing::Replace);
    }
    reportSheet(state, pdf, pages, 30);
}
BENCHMARK(firstSheetOfThirty)->Unit(benchmark::kMillisecond);

// The most a sheet takes: the first 1,000 Chinese characters of GB2312, in the usual shape.
// The peak resident size of the whole run is reported with it.
void sheetOfAThousand(benchmark::State& state) {
    OutputFolder output;
    store::VectorTable table(stageFolder());
    QString text;
    for (int lead = 0xB0; lead <= 0xF7 && text.size() < 1000; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE && text.size() < 1000; ++trail) {
            const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail), 0};
            if (table.find(bytes)) {
                text += gb2312::toUnicode(bytes);
            }
        }
    }
    const sheet::SheetSelection selection = sheet::selectSheetCharacters(text, table);
    const fs::path pdf = output.path() / "sheet.pdf";
    int pages = 0;
    for (auto _ : state) {
        pages = sheet::writePracticeSheetPdf(pdf, selection.characters,
                                             sheet::SheetOptions{.paper = sheet::Paper::A4},
                                             AtomicFile::Existing::Replace);
    }
    reportSheet(state, pdf, pages, static_cast<int>(selection.characters.size()));
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}
BENCHMARK(sheetOfAThousand)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
