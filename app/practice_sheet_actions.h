// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's practice sheet of the current character: printed through the system's
// print dialog (Ctrl+P, or the context menu of the animation and the stroke grid) or saved as
// PDF. The vector table is opened when a sheet is first asked for, not at start.

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
#include "store/vector_table.h"

class QMenu;
class QPrinter;
class QWidget;

namespace qir::app {

inline const QString kPrintSheetText = QStringLiteral("Print practice sheet…");
inline const QString kSaveSheetText = QStringLiteral("Save practice sheet as PDF…");
inline const QString kWriteItYourselfText = QStringLiteral("Write it yourself…");
inline const QKeySequence kWriteItYourselfKey = QKeySequence(Qt::CTRL | Qt::Key_E);

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
    // there is a current character; it deletes itself when closed.
    QMenu* createContextMenu(QWidget* parent);
    // Shows that menu at `position` of `widget`.
    void popUpContextMenu(QWidget* widget, const QPoint& position);

    // Each runs inside the window's error boundary. With no current character they only beep.
    void print();
    void saveAsPdf();
    // Opens the practice window on the current character, its record in the working folder.
    void writeItYourself();

    bool vectorTableOpen() const { return table_ != nullptr && table_->isOpen(); }
    void setDialogs(SheetDialogs dialogs) { dialogs_ = std::move(dialogs); }

  private:
    bool haveCharacter() const;
    // The current character's sheet; throws when its strokes cannot be had.
    std::vector<sheet::SheetCharacter> sheetCharacters();

    QWidget* window_;
    Desktop& desktop_;
    std::function<std::string()> currentHanzi_;
    std::function<std::filesystem::path()> storeFolder_;
    SheetDialogs dialogs_;
    std::unique_ptr<store::VectorTable> table_;
};

}  // namespace qir::app
