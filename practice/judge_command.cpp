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
// Past this many, unreadable lines are counted rather than named.
constexpr int kLinesNamed = 20;

std::optional<std::string> valueOf(std::string_view argument, std::string_view name) {
    if (argument.starts_with(name) && argument.size() > name.size() &&
        argument[name.size()] == '=') {
        return std::string(argument.substr(name.size() + 1));
    }
    return std::nullopt;
}

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
    throw JudgeUsageError("--leniency takes strict, normal or gentle, not " + name);
}

}  // namespace

bool asksForJudgeCommand(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--judge" || argument.starts_with("--judge=")) {
            return true;
        }
    }
    return false;
}

JudgeArguments parseJudgeArguments(const std::vector<std::string>& arguments) {
    JudgeArguments parsed;
    bool haveJudge = false;
    bool haveLeniency = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--judge" || argument.starts_with("--judge=")) {
            if (haveJudge) {
                throw JudgeUsageError("--judge is given twice");
            }
            haveJudge = true;
            if (const auto value = valueOf(argument, "--judge")) {
                parsed.character = *value;
            } else if (i + 1 < arguments.size()) {
                parsed.character = arguments[++i];
            } else {
                throw JudgeUsageError("--judge needs a character and a file");
            }
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                throw JudgeUsageError("--judge needs a file after the character");
            }
            parsed.file = arguments[++i];
        } else if (argument == "--leniency" || argument.starts_with("--leniency=")) {
            if (haveLeniency) {
                throw JudgeUsageError("--leniency is given twice");
            }
            haveLeniency = true;
            std::optional<std::string> value = valueOf(argument, "--leniency");
            if (!value) {
                if (i + 1 >= arguments.size()) {
                    throw JudgeUsageError("--leniency needs a value");
                }
                value = arguments[++i];
            }
            parsed.leniency = leniencyNamed(*value);
        } else {
            throw JudgeUsageError("unknown option " + argument + " with --judge");
        }
    }
    if (!haveJudge) {
        throw JudgeUsageError("--judge CHARACTER FILE is missing");
    }
    if (QString::fromUtf8(parsed.character.data(), static_cast<qsizetype>(parsed.character.size()))
            .toUcs4()
            .size() != 1) {
        throw JudgeUsageError("--judge takes one character, not \"" + parsed.character + "\"");
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

int runJudgeCommand(const std::vector<std::string>& arguments,
                    const std::filesystem::path& storeFolder) {
    JudgeArguments parsed;
    try {
        parsed = parseJudgeArguments(arguments);
    } catch (const JudgeUsageError& error) {
        std::cerr << kProgram << ": " << error.what() << "\nTry 'qir-stroke --help'.\n";
        return kJudgeUsageError;
    }
    return runJudge(parsed, storeFolder, std::cout, std::cerr);
}

}  // namespace qir::practice
