// SPDX-License-Identifier: GPL-3.0-or-later
// The start marks of every character of the vector table, placed by the plain rule of earlier
// sheets and by today's placement: how many marks cover another's number, lie on written
// strokes, or hide their own stroke, in the header's overview and in the steps, and the time
// the placement takes. The store folder is the first argument, or QIR_STORE_DIR, or the
// build's own. Characters after the folder are listed one by one, each step's faults too.
#include <QElapsedTimer>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/gb2312.h"
#include "sheet/mark_survey.h"
#include "store/vector_table.h"

namespace {

using namespace qir;

std::filesystem::path storeFolder(int argc, char** argv) {
    if (argc > 1) {
        return argv[1];
    }
    const char* store = std::getenv("QIR_STORE_DIR");
    return store != nullptr ? std::filesystem::path(store)
                            : std::filesystem::path(QIR_DEFAULT_STORE_DIR);
}

void print(const char* rule, const sheet::MarkSurvey& survey, qint64 ms, int characters) {
    std::printf(
        "%-7s %5d chars %6d marks | overview: %5d numbers covered %5d on written strokes %5d "
        "hiding own stroke | steps: %5d on written strokes %5d hiding own stroke | %lld ms\n",
        rule, characters, survey.marks, survey.overview.coveredNumbers,
        survey.overview.onWrittenInk, survey.overview.hidingOwnStroke, survey.steps.onWrittenInk,
        survey.steps.hidingOwnStroke, static_cast<long long>(ms));
}

void printFaults(const char* what, const sheet::MarkFaults& faults) {
    std::printf("  %s: %d covered, %d on written, %d hiding own", what, faults.coveredNumbers,
                faults.onWrittenInk, faults.hidingOwnStroke);
}

void listCharacter(store::VectorTable& table, const QString& character) {
    const auto bytes = gb2312::fromUnicode(character);
    const auto strokes = bytes ? table.find(*bytes) : std::nullopt;
    if (!strokes) {
        std::printf("%s: not in the table\n", qPrintable(character));
        return;
    }
    const geometry::DrawnStrokes glyph = geometry::drawnStrokes(*strokes);
    for (const auto rule : {sheet::MarkRule::Plain, sheet::MarkRule::Placed}) {
        const sheet::MarkSurvey survey = sheet::surveyMarks(glyph, rule);
        std::printf("%s %-6s", qPrintable(character),
                    rule == sheet::MarkRule::Plain ? "before" : "after");
        printFaults("overview", survey.overview);
        printFaults("steps", survey.steps);
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    store::VectorTable table(storeFolder(argc, argv));
    if (argc > 2) {
        for (int i = 2; i < argc; ++i) {
            for (const QChar character : QString::fromUtf8(argv[i])) {
                listCharacter(table, QString(character));
            }
        }
        return 0;
    }
    std::vector<geometry::DrawnStrokes> glyphs;
    for (int high = 0xB0; high <= 0xF7; ++high) {
        for (int low = 0xA1; low <= 0xFE; ++low) {
            const std::string bytes{static_cast<char>(high), static_cast<char>(low)};
            if (!gb2312::isGb2312Hanzi(bytes)) {
                continue;
            }
            if (const auto strokes = table.find(bytes)) {
                glyphs.push_back(geometry::drawnStrokes(*strokes));
            }
        }
    }
    const int characters = static_cast<int>(glyphs.size());
    for (const auto rule : {sheet::MarkRule::Plain, sheet::MarkRule::Placed}) {
        QElapsedTimer timer;
        timer.start();
        sheet::MarkSurvey total;
        int withCoveredNumber = 0;
        for (const geometry::DrawnStrokes& glyph : glyphs) {
            const sheet::MarkSurvey survey = sheet::surveyMarks(glyph, rule);
            withCoveredNumber += survey.overview.coveredNumbers > 0 ? 1 : 0;
            total += survey;
        }
        std::printf("%-7s characters whose overview has a covered number: %d\n",
                    rule == sheet::MarkRule::Plain ? "before" : "after", withCoveredNumber);
        print(rule == sheet::MarkRule::Plain ? "before" : "after", total, timer.elapsed(),
              characters);
    }
    return 0;
}
