// SPDX-License-Identifier: GPL-3.0-or-later
// Reads what the practice end-to-end test needs, without a window: "strokes STORE_FOLDER
// CHARACTER" prints each stroke's median, one stroke a line, as x,y pairs in the writing box
// (side 1, y down); "record FILE" prints each attempt of the practice record, one a line:
// the character in UTF-8, the score in percent, then the mistakes per stroke.
#include <QString>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "platform/gb2312.h"
#include "practice/practice_character.h"
#include "practice/practice_record.h"
#include "store/vector_table.h"

namespace {

constexpr std::size_t kPointsAStroke = 12;

int printStrokes(const char* folder, const char* character) {
    qir::store::VectorTable table(folder);
    const qir::practice::PracticeCharacter practised =
        qir::practice::practiceCharacter(QString::fromUtf8(character), table);
    for (const qir::practice::Polyline& median : practised.medians) {
        const char* separator = "";
        for (const qir::practice::Point& point : qir::practice::resampled(median, kPointsAStroke)) {
            std::printf("%s%.4f,%.4f", separator, point.x, point.y);
            separator = " ";
        }
        std::printf("\n");
    }
    return 0;
}

int printRecord(const char* file) {
    qir::practice::PracticeRecord record(file);
    if (const auto problem = record.takeProblem()) {
        std::fprintf(stderr, "%s\n", problem->c_str());
        return 1;
    }
    for (const qir::practice::PracticeAttempt& attempt : record.attempts()) {
        std::printf("%s %d", qir::gb2312::toUnicode(attempt.hanzi).toUtf8().constData(),
                    attempt.scorePercent);
        for (int mistakes : attempt.mistakes) {
            std::printf(" %d", mistakes);
        }
        std::printf("\n");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::strcmp(argv[1], "strokes") == 0) {
            return printStrokes(argv[2], argv[3]);
        }
        if (argc == 3 && std::strcmp(argv[1], "record") == 0) {
            return printRecord(argv[2]);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::fprintf(stderr, "usage: %s strokes STORE_FOLDER CHARACTER | record FILE\n", argv[0]);
    return 2;
}
