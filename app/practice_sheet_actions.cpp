// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/practice_sheet_actions.h"

#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QStandardPaths>

#include "app/practice_sources.h"
#include "desktop/error_guard.h"
#include "platform/errors.h"
#include "platform/gb2312.h"
#include "practice/practice_character.h"
#include "practice_window/practice_window.h"
#include "sheet/sheet_characters.h"
#include "sheet/sheet_options.h"

namespace qir::app {
namespace {

// The document's name, which a print dialog also offers as a file name.
QString sheetName(const std::vector<sheet::SheetCharacter>& characters) {
    return PracticeSheetActions::tr("%1 practice sheet").arg(characters.front().text);
}

}  // namespace

SheetDialogs systemSheetDialogs() {
    SheetDialogs dialogs;
    dialogs.askSaveFile = [](QWidget* parent,
                             const QString& suggested) -> std::optional<std::filesystem::path> {
        QFileDialog dialog(parent, PracticeSheetActions::tr("Save practice sheet as PDF"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(PracticeSheetActions::tr("PDF documents (*.pdf)"));
        dialog.setDefaultSuffix(QStringLiteral("pdf"));
        // Never the program's working folder, which the user does not look after.
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        dialog.setDirectory(QDir(documents).exists() ? documents : QDir::homePath());
        dialog.selectFile(suggested);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return std::filesystem::path(dialog.selectedFiles().front().toStdString());
    };
    dialogs.askSheet = [](QWidget* parent, sheet_dialog::SheetDialog::Purpose purpose,
                          const QString& text, const sheet::SheetOptions& options,
                          sheet_dialog::SheetSources sources) -> std::optional<SheetRequest> {
        sheet_dialog::SheetDialog dialog(purpose, text, options, std::move(sources), parent);
        if (dialog.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return SheetRequest{dialog.text(), dialog.options()};
    };
    dialogs.askPrinter = [](QWidget* parent, QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(PracticeSheetActions::tr("Print practice sheet"));
        return dialog.exec() == QDialog::Accepted;
    };
    return dialogs;
}

PracticeSheetActions::PracticeSheetActions(QWidget* window, Desktop& desktop,
                                           std::function<std::string()> currentHanzi,
                                           std::function<std::filesystem::path()> storeFolder,
                                           SheetDialogs dialogs)
    : QObject(window),
      window_(window),
      desktop_(desktop),
      currentHanzi_(std::move(currentHanzi)),
      storeFolder_(std::move(storeFolder)),
      dialogs_(std::move(dialogs)) {}

PracticeSheetActions::~PracticeSheetActions() = default;

QString PracticeSheetActions::factsLineOf(const std::string& hanzi) {
    const std::string key(gb2312::trimmed(hanzi));
    if (key.empty()) {
        return {};
    }
    try {
        if (const std::optional<store::CharacterFacts> facts = factsTable().find(key)) {
            return store::factsLine(gb2312::toUnicode(key), *facts);
        }
    } catch (const std::exception&) {
        // No facts line; the entries below work without it.
    }
    return {};
}

void PracticeSheetActions::addEntries(QMenu& menu, const std::string& hanzi,
                                      std::function<void()> show) {
    if (const QString line = factsLineOf(hanzi); !line.isEmpty()) {
        QAction* facts =
            menu.addAction(QString(line).replace(QLatin1Char('&'), QStringLiteral("&&")));
        facts->setEnabled(false);
        menu.addSeparator();
    }
    // Ctrl+P prints the character shown, so only a menu of that character names it.
    const bool ofShownCharacter = !show;
    // Each entry runs only once the menu's own key or mouse handler has returned: a native
    // dialog (GTK's, under GNOME) runs an event loop of its own, in which the closed menu is
    // deleted while its handler would still be on the stack.
    const auto addEntry = [&](const QString& text, std::function<void()> run) {
        QAction* entry = menu.addAction(text);
        connect(entry, &QAction::triggered, this, std::move(run), Qt::QueuedConnection);
        return entry;
    };
    if (show) {
        addEntry(tr("Show"), std::move(show));
    }
    const bool enabled = !gb2312::trimmed(hanzi).empty();
    QAction* printEntry =
        addEntry(tr("Print practice sheet…"), [this, hanzi] { printCharacter(hanzi); });
    QAction* saveEntry =
        addEntry(tr("Save practice sheet as PDF…"), [this, hanzi] { saveCharacterAsPdf(hanzi); });
    QAction* writeEntry =
        addEntry(tr("Write it yourself…"), [this, hanzi] { writeCharacterYourself(hanzi); });
    if (ofShownCharacter) {
        printEntry->setShortcut(QKeySequence::Print);
        printEntry->setShortcutVisibleInContextMenu(true);
        writeEntry->setShortcut(kWriteItYourselfKey);
        writeEntry->setShortcutVisibleInContextMenu(true);
    }
    for (QAction* entry : {printEntry, saveEntry, writeEntry}) {
        entry->setEnabled(enabled);
    }
}

QMenu* PracticeSheetActions::createContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    addEntries(*menu, currentHanzi_(), {});
    return menu;
}

QMenu* PracticeSheetActions::createCharacterMenu(QWidget* parent, const std::string& hanzi,
                                                 std::function<void()> show) {
    auto* menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    addEntries(*menu, hanzi, std::move(show));
    return menu;
}

void PracticeSheetActions::popUpContextMenu(QWidget* widget, const QPoint& position) {
    createContextMenu(widget)->popup(widget->mapToGlobal(position));
}

store::VectorTable& PracticeSheetActions::vectorTable() {
    if (!table_) {
        table_ = std::make_unique<store::VectorTable>(storeFolder_());
    }
    return *table_;
}

store::FactsTable& PracticeSheetActions::factsTable() {
    if (!facts_) {
        facts_ = std::make_unique<store::FactsTable>(storeFolder_());
    }
    return *facts_;
}

std::vector<sheet::SheetCharacter> PracticeSheetActions::sheetCharacters(
    const std::string& character) {
    const std::string hanzi(gb2312::trimmed(character));
    std::optional<store::StrokeVectors> strokes = vectorTable().find(hanzi);
    const QString text = gb2312::toUnicode(hanzi);
    if (!strokes) {
        throw Error("ESheetError",
                    tr("Cannot make a practice sheet of %1: %2 does not hold its strokes")
                        .arg(text, QString::fromStdString(store::kVectorTable.fileName))
                        .toStdString());
    }
    return {{text, std::move(*strokes), sheet::sheetFacts(factsTable(), hanzi)}};
}

std::vector<sheet::SheetCharacter> PracticeSheetActions::charactersOf(const QString& text,
                                                                      QString& reason) {
    sheet::SheetSelection selection =
        sheet::selectSheetCharacters(text, vectorTable(), &factsTable());
    if (!selection.leftOut.empty()) {
        const sheet::LeftOutCharacter& first = selection.leftOut.front();
        reason =
            tr("%1 cannot go on the sheet: %2")
                .arg(sheet::characterName(first.character), QString::fromStdString(first.reason));
        if (selection.leftOut.size() > 1) {
            reason += tr(" (and %1 more)").arg(selection.leftOut.size() - 1);
        }
    }
    return std::move(selection.characters);
}

std::optional<std::pair<std::vector<sheet::SheetCharacter>, sheet::SheetOptions>>
PracticeSheetActions::askSheet(sheet_dialog::SheetDialog::Purpose purpose,
                               const std::string& hanzi) {
    if (!dialogs_.askSheet) {
        sheet::SheetOptions usual;
        usual.paper = sheet::localePaper();
        return std::pair{sheetCharacters(hanzi), usual};
    }
    // Remembered in the user's working folder, like everything else the program keeps.
    QSettings settings(
        QString::fromStdString((std::filesystem::current_path() / kSheetSettingsFile).string()),
        QSettings::IniFormat);
    sheet_dialog::SheetSources sources;
    sources.characters = [this](const QString& text, QString& reason) {
        try {
            return charactersOf(text, reason);
        } catch (const std::exception& error) {
            reason = QString::fromStdString(error.what());
            return std::vector<sheet::SheetCharacter>{};
        }
    };
    const std::string shown(gb2312::trimmed(hanzi));
    sources.currentGroup = [this, shown] { return groupOf_ ? groupOf_(shown) : QString(); };
    const std::optional<SheetRequest> request =
        dialogs_.askSheet(window_, purpose, gb2312::toUnicode(shown),
                          sheet::loadSheetOptions(settings), std::move(sources));
    if (!request) {
        return std::nullopt;
    }
    sheet::saveSheetOptions(settings, request->options);
    QString reason;
    std::vector<sheet::SheetCharacter> characters = charactersOf(request->text, reason);
    if (characters.empty()) {
        throw Error("ESheetError", "Cannot make a practice sheet: " +
                                       (reason.isEmpty() ? std::string("it holds no characters")
                                                         : reason.toStdString()));
    }
    return std::pair{std::move(characters), request->options};
}

void PracticeSheetActions::print() {
    printCharacter(currentHanzi_());
}

void PracticeSheetActions::saveAsPdf() {
    saveCharacterAsPdf(currentHanzi_());
}

void PracticeSheetActions::printCharacter(const std::string& hanzi) {
    if (gb2312::trimmed(hanzi).empty()) {
        desktop_.beep();
        return;
    }
    guarded(desktop_, [this, &hanzi] {
        const auto sheet = askSheet(sheet_dialog::SheetDialog::Purpose::Print, hanzi);
        if (!sheet) {
            return;
        }
        const auto& [characters, options] = *sheet;
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(sheetName(characters));
        printer.setPageLayout(sheet::sheetPageLayout(options.paper));
        if (!dialogs_.askPrinter(window_, printer)) {
            return;
        }
        sheet::paintPracticeSheet(printer, characters, options);
    });
}

void PracticeSheetActions::saveCharacterAsPdf(const std::string& hanzi) {
    if (gb2312::trimmed(hanzi).empty()) {
        desktop_.beep();
        return;
    }
    guarded(desktop_, [this, &hanzi] {
        const auto sheet = askSheet(sheet_dialog::SheetDialog::Purpose::SaveAsPdf, hanzi);
        if (!sheet) {
            return;
        }
        const auto& [characters, options] = *sheet;
        const std::optional<std::filesystem::path> file =
            dialogs_.askSaveFile(window_, sheetName(characters) + QStringLiteral(".pdf"));
        if (!file) {
            return;
        }
        // The dialog has asked before replacing a file.
        sheet::writePracticeSheetPdf(*file, characters, options, AtomicFile::Existing::Replace);
    });
}

void PracticeSheetActions::writeItYourself() {
    writeCharacterYourself(currentHanzi_());
}

void PracticeSheetActions::writeCharacterYourself(const std::string& hanzi) {
    if (gb2312::trimmed(hanzi).empty()) {
        desktop_.beep();
        return;
    }
    guarded(desktop_, [this, &hanzi] {
        const QString text = gb2312::toUnicode(gb2312::trimmed(hanzi));
        std::vector<practice::PracticeCharacter> characters{
            practice::practiceCharacter(text, vectorTable())};
        auto* practice = new practice_window::PracticeWindow(
            std::move(characters), std::filesystem::current_path() / practice::kPracticeRecordFile,
            window_);
        givePracticeSources(*practice, vectorTable(),
                            [this]() -> store::FactsTable& { return factsTable(); });
        practice->setWindowFlag(Qt::Window);
        practice->setAttribute(Qt::WA_DeleteOnClose);
        practice->show();
    });
}

}  // namespace qir::app
