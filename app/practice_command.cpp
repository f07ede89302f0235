// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/practice_command.h"

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/practice_sources.h"
#include "app/program_commands.h"
#include "desktop/display_opening.h"
#include "desktop/fonts.h"
#include "desktop/termination_signals.h"
#include "platform/errors.h"
#include "practice/practice_character.h"
#include "practice/practice_record.h"
#include "practice_window/practice_window.h"
#include "store/character_facts.h"
#include "store/vector_table.h"
#include "translations/translations.h"

namespace qir::app {
namespace {

const QString kSelector = QStringLiteral("practice");

void say(const QString& text) {
    std::fprintf(stderr, "%s: %s\n", kProgramName, text.toUtf8().constData());
}

// TEXT's characters in order, blanks left out; each one the store cannot give is named.
std::vector<practice::PracticeCharacter> charactersOf(const QString& text,
                                                      store::VectorTable& vectors, int& leftOut) {
    std::vector<practice::PracticeCharacter> characters;
    for (const char32_t codePoint : text.toUcs4()) {
        if (codePoint <= 0x20 || codePoint == 0x3000) {
            continue;
        }
        try {
            characters.push_back(
                practice::practiceCharacter(QString::fromUcs4(&codePoint, 1), vectors));
        } catch (const std::exception& error) {
            say(QString::fromStdString(withFullStop(error.what())));
            ++leftOut;
        }
    }
    return characters;
}

// `text` is empty when none was given: the window then opens without a character, for the
// learner to find one by drawing or to take the hardest ones.
int practise(const std::optional<QString>& text, const std::function<void()>& enterWorkingFolder) {
    // QApplication keeps the count and the names for its whole life.
    static int argc = 1;
    static char name[] = "qir-stroke";
    static char* argv[] = {name, nullptr};
    std::optional<QApplication> application;
    {
        const DisplayOpening opening(QString::fromLatin1(kProgramName));
        application.emplace(argc, argv);
    }
    // The window's words in the user's language.
    const translations::Translations translations;
    // A logout or kill closes the window as its close box would; what was finished is kept.
    const QuitOnTerminationSignals quitOnTerminationSignals;
    try {
        enterWorkingFolder();
    } catch (const std::exception& error) {
        say(QString::fromStdString(withFullStop(error.what())));
        return kNothingToPractise;
    }
    installFontSubstitutions();
    const std::filesystem::path folder = std::filesystem::current_path();
    store::VectorTable vectors(folder);
    int leftOut = 0;
    std::vector<practice::PracticeCharacter> characters;
    if (text) {
        characters = charactersOf(*text, vectors, leftOut);
    }
    if (text && characters.empty()) {
        say(leftOut == 0 ? QStringLiteral("--practice: the text holds no characters")
                         : QStringLiteral("no character of the text can be practised"));
        return kNothingToPractise;
    }
    std::unique_ptr<store::FactsTable> facts;
    practice_window::PracticeWindow window(std::move(characters),
                                           folder / practice::kPracticeRecordFile);
    givePracticeSources(window, vectors, [&]() -> store::FactsTable& {
        if (!facts) {
            facts = std::make_unique<store::FactsTable>(folder);
        }
        return *facts;
    });
    window.show();
    QApplication::exec();
    return leftOut == 0 ? kPractised : kPractisedWithoutSome;
}

}  // namespace

cli::Command practiceCommand(std::function<void()> enterWorkingFolder) {
    cli::Command command;
    command.selector = {kSelector,
                        {},
                        QStringLiteral("open the practice window alone, to write each character "
                                       "of TEXT (UTF-8) in turn, blanks left out; without TEXT, "
                                       "to choose one by drawing it or to take the hardest")};
    command.optionalArguments = {QStringLiteral("TEXT")};
    command.usage = QStringLiteral("--practice [TEXT]");
    command.help = QStringLiteral(
        "Exit status of --practice: 0 every character of TEXT (or none) was offered; 3 the window\n"
        "opened without the characters named on standard error (not Chinese, outside\n"
        "GB2312, not in the store); 1 none could be practised, or the store or the display\n"
        "failed; 2 the command line was wrong. The practice record is kept in the working\n"
        "folder, as the window's own.\n");
    command.run = [enterWorkingFolder =
                       std::move(enterWorkingFolder)](const cli::Invocation& given) {
        return practise(
            given.argumentCount() == 0 ? std::nullopt : std::optional(given.argumentText(0)),
            enterWorkingFolder);
    };
    return command;
}

}  // namespace qir::app
