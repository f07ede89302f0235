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
#include <vector>

#include "desktop/desktop.h"
#include "sheet/practice_sheet.h"
#include "store/character_facts.h"
#include "store/vector_table.h"

class QMenu;
class QPrinter;
class QWidget;

namespace qir::app {

// Not Ctrl+E: the input box, which has the keyboard after a character is typed, takes that
// as "end of line" and the shortcut would never fire.
inline const QKeySequence kWriteItYourselfKey = QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W);

// What the actions ask of the user. Tests answer in the user's place.
struct SheetDialogs {
    // The file to save to, or nothing when the user cancels; `suggested` is a file name.
    std::function<std::optional<std::filesystem::path>(QWidget* parent, const QString& suggested)>
        askSaveFile;
    // Lets the user choose and set up a printer; false when the user cancels.
    std::function<bool(QWidget* parent, QPrinter& printer)> askPrinter;
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

    bool vectorTableOpen() const { return table_ != nullptr && table_->isOpen(); }
    bool factsTableOpen() const { return facts_ != nullptr && facts_->isOpen(); }
    void setDialogs(SheetDialogs dialogs) { dialogs_ = std::move(dialogs); }

  private:
    // The sheet of `hanzi`; throws when its strokes cannot be had.
    std::vector<sheet::SheetCharacter> sheetCharacters(const std::string& hanzi);
    // The facts line first, then the sheet entries for `hanzi`.
    void addEntries(QMenu& menu, const std::string& hanzi, std::function<void()> show);

    QWidget* window_;
    Desktop& desktop_;
    std::function<std::string()> currentHanzi_;
    std::function<std::filesystem::path()> storeFolder_;
    SheetDialogs dialogs_;
    std::unique_ptr<store::VectorTable> table_;
    std::unique_ptr<store::FactsTable> facts_;
};

}  // namespace qir::app
