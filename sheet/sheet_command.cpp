// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/sheet_command.h"

#include <QGuiApplication>
#include <map>
#include <stdexcept>
#include <string_view>

#include "desktop/fonts.h"
#include "platform/errors.h"
#include "platform/temporary_files.h"
#include "sheet/sheet_characters.h"
#include "store/vector_table.h"
#include "translations/translations.h"

namespace qir::sheet {
namespace {

constexpr const char* kProgram = "qir-stroke";
// Past this many, the left-out characters are counted rather than named.
constexpr int kLeftOutNamed = 20;

const QString kSelector = QStringLiteral("practice-sheet");
const QString kOutput = QStringLiteral("output");
const QString kPage = QStringLiteral("page");
const QString kGrid = QStringLiteral("grid");
const QString kBox = QStringLiteral("box");
const QString kRows = QStringLiteral("rows");
const QString kTitle = QStringLiteral("title");
const QString kNameLine = QStringLiteral("name-line");
const QString kNoPinyin = QStringLiteral("no-pinyin");

constexpr const char* kHelp =
    R"(Each character gets a header (the character large and its stroke count), its stroke
steps (the new stroke in red, numbered where it starts), and rows of 田字格 boxes:
one to trace, one with the strokes added one at a time, two to copy (--rows chooses
them: "trace,steps,copy,copy" is the usual; "fill" at the end fills each character's
page with empty rows). The boxes are 16 mm with a 田字格 guide unless --box and
--grid say otherwise; 20 mm suits young children. A sheet takes
at most 1000 characters. Characters that cannot go on it (not Chinese, outside
GB2312, not in the store) are named on standard error and left out. The sheet is
written without a window and needs no display. The character store is read from
%1

Exit status: 0 the sheet was written; 3 it was written without the characters named;
1 no sheet was written (the store or the file failed, or no character could go on
it); 2 the command line was wrong.
)";

void say(std::FILE* stream, const QString& text) {
    std::fprintf(stream, "%s: %s\n", kProgram, text.toUtf8().constData());
}

QString counted(std::size_t count, const char* noun) {
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(noun),
                                                    QLatin1String(count == 1 ? "" : "s"));
}

// The sheet's shape from --grid, --box, --rows, --title, --name-line and --no-pinyin.
void readShape(const cli::Invocation& invocation, SheetOptions& options) {
    if (invocation.isSet(kGrid)) {
        const std::optional<Grid> grid = gridNamed(invocation.text(kGrid));
        if (!grid) {
            throw UsageError("--grid takes tian, mi, jiu or plain, not " + invocation.bytes(kGrid));
        }
        options.grid = *grid;
    }
    if (invocation.isSet(kBox)) {
        bool number = false;
        options.box = invocation.text(kBox).toDouble(&number);
        if (!number) {
            throw UsageError("--box takes the box's side in millimetres, not " +
                             invocation.bytes(kBox));
        }
    }
    if (invocation.isSet(kRows)) {
        try {
            setRowsFromText(options, invocation.text(kRows));
        } catch (const std::invalid_argument& error) {
            throw UsageError(std::string("--rows: ") + error.what());
        }
    }
    if (invocation.isSet(kTitle)) {
        options.title = invocation.text(kTitle);
    }
    options.nameLine = invocation.isSet(kNameLine);
    options.pinyin = !invocation.isSet(kNoPinyin);
    const std::vector<OptionProblem> problems = problemsWith(options, Language::English);
    if (!problems.empty()) {
        const std::map<OptionField, const char*> option{{OptionField::Box, "--box"},
                                                        {OptionField::TraceRows, "--rows"},
                                                        {OptionField::CopyRows, "--rows"},
                                                        {OptionField::Rows, "--rows"},
                                                        {OptionField::Title, "--title"}};
        throw UsageError(std::string(option.at(problems.front().field)) + ": " +
                         problems.front().reason.toStdString());
    }
}

}  // namespace

SheetArguments sheetArguments(const cli::Invocation& invocation) {
    SheetArguments parsed;
    if (!invocation.isSet(kSelector)) {
        throw UsageError("--practice-sheet TEXT is missing");
    }
    if (!invocation.isSet(kOutput)) {
        throw UsageError("--output FILE.pdf is missing");
    }
    parsed.text = invocation.text(kSelector);
    const std::string output = invocation.bytes(kOutput);
    if (output.empty()) {
        throw UsageError("--output needs a file name");
    }
    parsed.output = std::filesystem::path(output);
    parsed.options.paper = localePaper();
    if (invocation.isSet(kPage)) {
        const QString paper = invocation.text(kPage).toLower();
        if (paper == QLatin1String("a4")) {
            parsed.options.paper = Paper::A4;
        } else if (paper == QLatin1String("letter")) {
            parsed.options.paper = Paper::Letter;
        } else {
            throw UsageError("--page takes a4 or letter, not " + invocation.bytes(kPage));
        }
    }
    readShape(invocation, parsed.options);
    const int characters = countedCharacters(parsed.text);
    if (characters == 0) {
        throw UsageError("--practice-sheet: the text holds no characters");
    }
    if (characters > kMostSheetCharacters) {
        throw UsageError("--practice-sheet: the text holds " + std::to_string(characters) +
                         " characters; a sheet takes at most " +
                         std::to_string(kMostSheetCharacters) + " (split it into several)");
    }
    return parsed;
}

int runSheet(const SheetArguments& arguments, const std::filesystem::path& storeFolder,
             std::FILE* out, std::FILE* err) {
    try {
        store::VectorTable table(storeFolder);
        store::FactsTable facts(storeFolder);
        const SheetSelection selection = selectSheetCharacters(arguments.text, table, &facts);
        int named = 0;
        for (const LeftOutCharacter& left : selection.leftOut) {
            if (named++ == kLeftOutNamed) {
                break;
            }
            say(err, QStringLiteral("left out character %1, %2: %3")
                         .arg(left.position)
                         .arg(characterName(left.character), QString::fromStdString(left.reason)));
        }
        if (selection.leftOut.size() > kLeftOutNamed) {
            say(err, QStringLiteral("left out %1 more characters")
                         .arg(selection.leftOut.size() - kLeftOutNamed));
        }
        if (selection.characters.empty()) {
            say(err, QStringLiteral("no practice sheet written: none of the characters can go "
                                    "on it"));
            return kNothingWritten;
        }
        const int pages = writePracticeSheetPdf(arguments.output, selection.characters,
                                                arguments.options, AtomicFile::Existing::Refuse);
        std::fprintf(out, "Wrote %s: %s on %s.\n", arguments.output.c_str(),
                     counted(selection.characters.size(), "character").toUtf8().constData(),
                     counted(static_cast<std::size_t>(pages), "page").toUtf8().constData());
        return selection.leftOut.empty() ? kSheetWritten : kWrittenWithoutSome;
    } catch (const std::exception& error) {
        say(err, QString::fromStdString(withFullStop(error.what())));
        if (std::string_view(error.what()).starts_with("Cannot open table")) {
            say(err, QStringLiteral("the character store is read from %1")
                         .arg(QString::fromStdString(storeFolder.string())));
        }
        return kNothingWritten;
    }
}

cli::Command sheetCommand(const std::filesystem::path& storeFolder) {
    cli::Command command;
    command.selector = {kSelector, QStringLiteral("TEXT"),
                        QStringLiteral("write a practice sheet of every character of TEXT "
                                       "(UTF-8), in order, repeats kept; blanks are left out")};
    command.options = {
        {kOutput, QStringLiteral("FILE.pdf"),
         QStringLiteral("the PDF file to write; it must not exist yet")},
        {kPage, QStringLiteral("a4|letter"),
         QStringLiteral("the paper (default: your locale's paper, else A4)")},
        {kGrid, QStringLiteral("tian|mi|jiu|plain"),
         QStringLiteral("the guide in each box: 田字格 (default), 米字格, 九宫格 "
                        "or none")},
        {kBox, QStringLiteral("MM"),
         QStringLiteral("the side of a box, 12 to 24 millimetres (default 16)")},
        {kRows, QStringLiteral("ROWS"),
         QStringLiteral("the practice rows, in order: trace,steps,copy,copy "
                        "(default); \"fill\" last fills the page")},
        {kTitle, QStringLiteral("TEXT"), QStringLiteral("a title at the top of every page")},
        {kNameLine, QString(), QStringLiteral("a line for the name, class and date on every page")},
        {kNoPinyin, QString(), QStringLiteral("leave out the readings (for a dictation)")}};
    command.usage = QStringLiteral(
        "--practice-sheet TEXT --output FILE.pdf [--page a4|letter] [--grid GRID] [--box MM] "
        "[--rows ROWS] [--title TEXT] [--name-line] [--no-pinyin]");
    command.help = QString::fromUtf8(kHelp).arg(QString::fromStdString(storeFolder.string()));
    command.run = [storeFolder](const cli::Invocation& invocation) {
        const SheetArguments arguments = sheetArguments(invocation);
        // Fonts and PDF need a GUI application, but never a display: this also runs over ssh.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Standard error carries the command's own messages; Qt's notes about the session it
        // runs in (no runtime folder over ssh, say) would only bury them.
        qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& message) {
                if (type == QtCriticalMsg || type == QtFatalMsg) {
                    std::fprintf(stderr, "%s: %s\n", kProgram, message.toUtf8().constData());
                }
            });
        // Ctrl+C, a closed terminal or a kill must not leave a half-written sheet beside the
        // target.
        removeTemporaryFilesOnTermination();
        int qtArgc = 1;
        char program[] = "qir-stroke";
        char* qtArgv[] = {program, nullptr};
        QGuiApplication application(qtArgc, qtArgv);
        // The sheet's words in the user's language.
        const translations::Translations translations;
        installFontSubstitutions();
        return runSheet(arguments, storeFolder, stdout, stderr);
    };
    return command;
}

}  // namespace qir::sheet
