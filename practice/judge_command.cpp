// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/judge_command.h"

#include <QList>
#include <QString>
#include <fstream>
#include <iostream>
#include <string_view>

#include "platform/errors.h"
#include "practice/practice_character.h"
#include "practice/stroke_file.h"
#include "store/vector_table.h"

namespace qir::practice {
namespace {

constexpr const char* kProgram = "qir-stroke";
const QString kSelector = QStringLiteral("judge");
const QString kLeniency = QStringLiteral("leniency");
// Past this many, unreadable lines are counted rather than named.
constexpr int kLinesNamed = 20;

Leniency leniencyNamed(const std::string& name) {
    if (name == "strict") {
        return Leniency::Strict;
    }
    if (name == "normal") {
        return Leniency::Normal;
    }
    if (name == "gentle") {
        return Leniency::Gentle;
    }
    throw cli::UsageError("--leniency takes strict, normal or gentle, not " + name);
}

}  // namespace

JudgeArguments judgeArguments(const cli::Invocation& given) {
    JudgeArguments parsed;
    parsed.character = given.bytes(kSelector);
    parsed.file = given.argumentBytes(0);
    if (given.isSet(kLeniency)) {
        parsed.leniency = leniencyNamed(given.bytes(kLeniency));
    }
    if (QString::fromUtf8(parsed.character.data(), static_cast<qsizetype>(parsed.character.size()))
            .toUcs4()
            .size() != 1) {
        throw cli::UsageError("--judge takes one character, not \"" + parsed.character + "\"");
    }
    if (parsed.file.empty()) {
        throw cli::UsageError("--judge needs a file after the character");
    }
    return parsed;
}

int runJudge(const JudgeArguments& arguments, const std::filesystem::path& storeFolder,
             std::ostream& out, std::ostream& err) {
    const auto say = [&](const std::string& text) { err << kProgram << ": " << text << '\n'; };
    PracticeCharacter character;
    try {
        store::VectorTable table(storeFolder);
        character =
            practiceCharacter(QString::fromUtf8(arguments.character.data(),
                                                static_cast<qsizetype>(arguments.character.size())),
                              table);
    } catch (const std::exception& error) {
        say(withFullStop(error.what()));
        if (std::string_view(error.what()).starts_with("Cannot open table")) {
            say("the character store is read from " + storeFolder.string());
        }
        return kNothingJudged;
    }
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(arguments.file, sizeError);
    std::ifstream file(arguments.file, std::ios::binary);
    if (sizeError || !file) {
        say("Cannot open file " + arguments.file.string() + ".");
        return kNothingJudged;
    }
    if (size > kMostStrokeFileBytes) {
        say("The stroke file " + arguments.file.string() + " is larger than " +
            std::to_string(kMostStrokeFileBytes / (1024 * 1024)) + " MB.");
        return kNothingJudged;
    }
    StrokeJudge judge(character.medians, arguments.leniency);
    std::vector<DrawnStroke> right;
    std::string line;
    int lineNumber = 0;
    int stroke = 0;
    int unreadable = 0;
    // Line by line: memory holds one line's stroke and the strokes judged right.
    while (std::getline(file, line)) {
        ++lineNumber;
        std::optional<DrawnStroke> drawn;
        try {
            drawn = parseStrokeLine(line);
        } catch (const std::invalid_argument& error) {
            if (unreadable++ < kLinesNamed) {
                say("line " + std::to_string(lineNumber) + " left out: " + error.what());
            }
            continue;
        }
        if (!drawn) {
            continue;
        }
        const Verdict verdict = judge.judge(right, *drawn);
        out << ++stroke << ' ' << verdictText(verdict, judge.strokeCount()) << '\n';
        if (verdict.right()) {
            right.push_back(std::move(*drawn));
        }
    }
    if (file.bad()) {
        say("Stream read error.");
        return kNothingJudged;
    }
    if (unreadable > kLinesNamed) {
        say("left out " + std::to_string(unreadable - kLinesNamed) + " more lines");
    }
    out.flush();
    return unreadable == 0 ? kJudged : kJudgedWithoutSome;
}

cli::Command judgeCommand(const std::filesystem::path& storeFolder) {
    cli::Command command;
    command.selector = {kSelector, QStringLiteral("CHARACTER"),
                        QStringLiteral("judge the strokes of FILE as a learner's writing of "
                                       "CHARACTER, one verdict a stroke")};
    command.arguments = {QStringLiteral("FILE")};
    command.options = {{kLeniency, QStringLiteral("strict|normal|gentle"),
                        QStringLiteral("how closely the strokes must follow (default: normal)")}};
    command.usage = QStringLiteral("--judge CHARACTER FILE [--leniency strict|normal|gentle]");
    command.help = QStringLiteral(
        "FILE holds one stroke a line: x,y pairs separated by blanks, in a 1000 x 1000 box\n"
        "with y downwards. Each stroke gets a line such as \"1 right\" or \"2 wrong order:\n"
        "matches stroke 4\". Exit status: 0 every line judged; 3 judged without the lines\n"
        "named on standard error; 1 nothing judged (the character is not in the store, the\n"
        "store or the file failed); 2 the command line was wrong.\n");
    command.run = [storeFolder](const cli::Invocation& given) {
        return runJudge(judgeArguments(given), storeFolder, std::cout, std::cerr);
    };
    return command;
}

}  // namespace qir::practice
