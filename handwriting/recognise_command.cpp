// SPDX-License-Identifier: GPL-3.0-or-later
#include "handwriting/recognise_command.h"

#include <QString>
#include <fstream>
#include <iostream>

#include "platform/errors.h"
#include "platform/gb2312.h"
#include "practice/judge_command.h"
#include "practice/stroke_file.h"

namespace qir::handwriting {
namespace {

constexpr const char* kProgram = "qir-stroke";
const QString kSelector = QStringLiteral("recognise");
constexpr int kLinesNamed = 20;

}  // namespace

int runRecognise(const std::filesystem::path& file, const RecogniserSources& sources,
                 std::ostream& out, std::ostream& err) {
    const auto say = [&](const std::string& text) { err << kProgram << ": " << text << '\n'; };
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(file, sizeError);
    std::ifstream in(file, std::ios::binary);
    if (sizeError || !in) {
        say("Cannot open file " + file.string() + ".");
        return kNothingRecognised;
    }
    if (size > practice::kMostStrokeFileBytes) {
        say("The stroke file " + file.string() + " is larger than " +
            std::to_string(practice::kMostStrokeFileBytes / (1024 * 1024)) + " MB.");
        return kNothingRecognised;
    }
    Ink ink;
    std::string line;
    int lineNumber = 0;
    int unreadable = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        try {
            if (const auto stroke = practice::parseStrokeLine(line)) {
                Polyline points;
                for (const auto& point : *stroke) {
                    points.push_back({point.x, point.y});
                }
                ink.push_back(std::move(points));
            }
        } catch (const std::invalid_argument& error) {
            if (unreadable++ < kLinesNamed) {
                say("line " + std::to_string(lineNumber) + " left out: " + error.what());
            }
        }
    }
    if (in.bad()) {
        say("Stream read error.");
        return kNothingRecognised;
    }
    if (unreadable > kLinesNamed) {
        say("left out " + std::to_string(unreadable - kLinesNamed) + " more lines");
    }
    Recogniser recogniser(sources);
    // The whole file at once: the candidates after its last stroke are what is printed.
    for (std::size_t i = 0; i + 1 < ink.size(); ++i) {
        recogniser.addStroke(ink[i]);
    }
    const Candidates candidates = ink.empty() ? Candidates{} : recogniser.addStroke(ink.back());
    for (const std::string& problem : recogniser.problems()) {
        say(withFullStop(problem));
    }
    for (const Candidate& candidate : candidates) {
        out << gb2312::toUnicode(candidate.hanzi).toStdString() << '\n';
    }
    out.flush();
    if (candidates.empty() && recogniser.problems().size() == 2) {
        return kNothingRecognised;
    }
    return unreadable == 0 ? kRecognised : kRecognisedWithoutSome;
}

cli::Command recogniseCommand(const std::filesystem::path& storeFolder) {
    cli::Command command;
    command.selector = {kSelector, QStringLiteral("FILE"),
                        QStringLiteral("name the ten characters likeliest drawn by the strokes "
                                       "of FILE, best first")};
    command.usage = QStringLiteral("--recognise FILE");
    command.help = QStringLiteral(
        "FILE holds one stroke a line, in the order drawn, as for --judge: x,y pairs\n"
        "separated by blanks, in a 1000 x 1000 box with y downwards. The candidates are\n"
        "printed one a line, best first; none when no character fits. Exit status: 0\n"
        "recognised; 3 recognised without the lines named on standard error; 1 the file or\n"
        "both the vector table and the handwriting model failed; 2 the command line was wrong.\n");
    command.run = [storeFolder](const cli::Invocation& given) {
        return runRecognise(given.bytes(kSelector), {storeFolder}, std::cout, std::cerr);
    };
    return command;
}

}  // namespace qir::handwriting
