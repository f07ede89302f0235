// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's practice sheet of the current character: printed through the system's
// print dialog (Ctrl+P, or the context menu of the animation and the stroke grid) or saved as
// PDF. The menus open with the character's facts as an inert first line. The vector and facts
// tables are opened when first needed, not at start.

#ifndef QIR_APP_INTERNALS
#error "app/practice_sheet_actions.h is private to its folder"
#endif

#include <QKeySequence>
#include <QObject>
#include <QPoint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "desktop/desktop.h"
#include "sheet/practice_sheet.h"
#include "sheet/sheet_options.h"
#include "sheet_dialog/sheet_dialog.h"
#include "store/character_facts.h"
#include "store/vector_table.h"

class QMenu;
class QPrinter;
class QWidget;

namespace qir::app {

// Not Ctrl+E: the input box, which has the keyboard after a character is typed, takes that
// as "end of line" and the shortcut would never fire.
inline const QKeySequence kWriteItYourselfKey = QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W);

// What the teacher asked for in the sheet dialog.
struct SheetRequest {
    QString text;
    sheet::SheetOptions options;
};

// What the actions ask of the user. Tests answer in the user's place.
struct SheetDialogs {
    // The file to save to, or nothing when the user cancels; `suggested` is a file name.
    std::function<std::optional<std::filesystem::path>(QWidget* parent, const QString& suggested)>
        askSaveFile;
    // Lets the user choose and set up a printer; false when the user cancels.
    std::function<bool(QWidget* parent, QPrinter& printer)> askPrinter;
    // The sheet's characters and shape, starting from `text` and the remembered `options`, or
    // nothing when the user cancels. Without it the sheet is of `text` in the usual shape.
    std::function<std::optional<SheetRequest>(
        QWidget* parent, sheet_dialog::SheetDialog::Purpose purpose, const QString& text,
        const sheet::SheetOptions& options, sheet_dialog::SheetSources sources)>
        askSheet{};
};

// The system's file and print dialogs.
SheetDialogs systemSheetDialogs();

class PracticeSheetActions : public QObject {
    Q_OBJECT
  public:
    // `currentHanzi` gives the character shown now (GB2312 bytes, empty for none);
    // `storeFolder` the folder of the tables, asked when the sheet is first wanted.
    PracticeSheetActions(QWidget* window, Desktop& desktop,
                         std::function<std::string()> currentHanzi,
                         std::function<std::filesystem::path()> storeFolder, SheetDialogs dialogs);
    ~PracticeSheetActions() override;

    // A menu of the entries (the two of the sheet, then "Write it yourself…"), enabled while
    // there is a current character, under the character's facts line; it deletes itself when
    // closed.
    QMenu* createContextMenu(QWidget* parent);
    // Shows that menu at `position` of `widget`.
    void popUpContextMenu(QWidget* widget, const QPoint& position);
    // The same kind of menu for `hanzi` (GB2312 bytes), with a first entry "Show" that runs
    // `show`.
    QMenu* createCharacterMenu(QWidget* parent, const std::string& hanzi,
                               std::function<void()> show);

    // Each runs inside the window's error boundary. With no current character they only beep.
    void print();
    void saveAsPdf();
    // Opens the practice window on the current character, its record in the working folder.
    void writeItYourself();
    // The same for `hanzi`.
    void printCharacter(const std::string& hanzi);
    void saveCharacterAsPdf(const std::string& hanzi);
    void writeCharacterYourself(const std::string& hanzi);

    // The facts line of `hanzi`, or empty when the facts table lacks it or cannot be read
    // (the facts are a help; without them the menus work on).
    QString factsLineOf(const std::string& hanzi);

    // The characters of the catalogue group `hanzi` belongs to, for the sheet dialog's button.
    void setCatalogueGroups(std::function<QString(const std::string& hanzi)> groupOf) {
        groupOf_ = std::move(groupOf);
    }

    bool vectorTableOpen() const { return table_ != nullptr && table_->isOpen(); }
    bool factsTableOpen() const { return facts_ != nullptr && facts_->isOpen(); }
    void setDialogs(SheetDialogs dialogs) { dialogs_ = std::move(dialogs); }

  private:
    // The sheet of `hanzi`; throws when its strokes cannot be had.
    std::vector<sheet::SheetCharacter> sheetCharacters(const std::string& hanzi);
    // What the teacher wants on the sheet that starts from `hanzi`: through the sheet dialog,
    // whose choices are remembered, or the character alone in the usual shape.
    std::optional<std::pair<std::vector<sheet::SheetCharacter>, sheet::SheetOptions>> askSheet(
        sheet_dialog::SheetDialog::Purpose purpose, const std::string& hanzi);
    // The characters of `text` that can go on a sheet; `reason` names one that cannot.
    std::vector<sheet::SheetCharacter> charactersOf(const QString& text, QString& reason);
    store::VectorTable& vectorTable();
    store::FactsTable& factsTable();
    // The facts line first, then the sheet entries for `hanzi`.
    void addEntries(QMenu& menu, const std::string& hanzi, std::function<void()> show);

    QWidget* window_;
    Desktop& desktop_;
    std::function<std::string()> currentHanzi_;
    std::function<std::filesystem::path()> storeFolder_;
    SheetDialogs dialogs_;
    std::unique_ptr<store::VectorTable> table_;
    std::unique_ptr<store::FactsTable> facts_;
    std::function<QString(const std::string&)> groupOf_;
};

// The file in the working folder where the sheet dialog's choices are remembered.
inline constexpr const char* kSheetSettingsFile = "practice-sheet.ini";

}  // namespace qir::app
