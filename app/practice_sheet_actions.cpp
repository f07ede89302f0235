// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/practice_sheet_actions.h"

#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

#include "desktop/error_guard.h"
#include "platform/errors.h"
#include "platform/gb2312.h"
#include "sheet/sheet_characters.h"

namespace qir::app {
namespace {

// The document's name, which a print dialog also offers as a file name.
QString sheetName(const std::vector<sheet::SheetCharacter>& characters) {
    return characters.front().text + QStringLiteral(" practice sheet");
}

}  // namespace

SheetDialogs systemSheetDialogs() {
    SheetDialogs dialogs;
    dialogs.askSaveFile = [](QWidget* parent,
                             const QString& suggested) -> std::optional<std::filesystem::path> {
        QFileDialog dialog(parent, QStringLiteral("Save practice sheet as PDF"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setNameFilter(QStringLiteral("PDF documents (*.pdf)"));
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
    dialogs.askPrinter = [](QWidget* parent, QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Print practice sheet"));
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

bool PracticeSheetActions::haveCharacter() const {
    return !gb2312::trimmed(currentHanzi_()).empty();
}

QMenu* PracticeSheetActions::createContextMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The dialogs open only once the menu's own key or mouse handler has returned: a native
    // dialog (GTK's, under GNOME) runs an event loop of its own, in which the closed menu is
    // deleted while its handler would still be on the stack.
    QAction* printEntry = menu->addAction(kPrintSheetText);
    connect(printEntry, &QAction::triggered, this, &PracticeSheetActions::print,
            Qt::QueuedConnection);
    printEntry->setShortcut(QKeySequence::Print);
    printEntry->setShortcutVisibleInContextMenu(true);
    QAction* saveEntry = menu->addAction(kSaveSheetText);
    connect(saveEntry, &QAction::triggered, this, &PracticeSheetActions::saveAsPdf,
            Qt::QueuedConnection);
    for (QAction* entry : {printEntry, saveEntry}) {
        entry->setEnabled(haveCharacter());
    }
    return menu;
}

void PracticeSheetActions::popUpContextMenu(QWidget* widget, const QPoint& position) {
    createContextMenu(widget)->popup(widget->mapToGlobal(position));
}

std::vector<sheet::SheetCharacter> PracticeSheetActions::sheetCharacters() {
    if (!table_) {
        table_ = std::make_unique<store::VectorTable>(storeFolder_());
    }
    const std::string hanzi(gb2312::trimmed(currentHanzi_()));
    std::optional<store::StrokeVectors> strokes = table_->find(hanzi);
    const QString text = gb2312::toUnicode(hanzi);
    if (!strokes) {
        throw Error("ESheetError", "Cannot make a practice sheet of " + text.toStdString() + ": " +
                                       store::kVectorTable.fileName + " does not hold its strokes");
    }
    return {{text, std::move(*strokes)}};
}

void PracticeSheetActions::print() {
    if (!haveCharacter()) {
        desktop_.beep();
        return;
    }
    guarded(desktop_, [this] {
        const std::vector<sheet::SheetCharacter> characters = sheetCharacters();
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(sheetName(characters));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setPageMargins(sheet::sheetPageLayout(sheet::Paper::A4).margins(),
                               QPageLayout::Millimeter);
        if (!dialogs_.askPrinter(window_, printer)) {
            return;
        }
        sheet::paintPracticeSheet(printer, characters);
    });
}

void PracticeSheetActions::saveAsPdf() {
    if (!haveCharacter()) {
        desktop_.beep();
        return;
    }
    guarded(desktop_, [this] {
        const std::vector<sheet::SheetCharacter> characters = sheetCharacters();
        const std::optional<std::filesystem::path> file =
            dialogs_.askSaveFile(window_, sheetName(characters) + QStringLiteral(".pdf"));
        if (!file) {
            return;
        }
        // The dialog has asked before replacing a file.
        sheet::writePracticeSheetPdf(*file, characters, sheet::localePaper(),
                                     AtomicFile::Existing::Replace);
    });
}

}  // namespace qir::app
