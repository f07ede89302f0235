// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sheet dialog: what a teacher fills in before a practice sheet is printed or saved. The
// characters (any text, the current character first; a button adds its catalogue group), the
// paper, the guide, the box's size, the practice rows, a title and a name line, pinyin on or
// off, and a live preview of the first page. A value that cannot be used is refused with the
// reason beside its field, and the dialog cannot be accepted until every reason is gone.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "sheet/practice_sheet.h"
#include "sheet/sheet_options.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QPrintPreviewWidget;
class QPushButton;
class QSpinBox;
class QTimer;

namespace qir::sheet_dialog {

// What the dialog asks of the program around it.
struct SheetSources {
    // The characters of `text` that can go on the sheet, with their strokes and facts; the
    // reason why not when some cannot (empty when all can). Used for the preview and to refuse.
    std::function<std::vector<sheet::SheetCharacter>(const QString& text, QString& reason)>
        characters;
    // The characters of the catalogue group of the current one; empty when there is none.
    std::function<QString()> currentGroup;
};

class SheetDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Purpose { Print, SaveAsPdf };

    SheetDialog(Purpose purpose, const QString& text, const sheet::SheetOptions& options,
                SheetSources sources, QWidget* parent = nullptr);
    ~SheetDialog() override;

    QString text() const;
    // The choices as they stand; sound only while `acceptable()`.
    sheet::SheetOptions options() const;
    bool acceptable() const { return problems_.isEmpty(); }
    // Every reason shown now, one a line.
    QString problems() const { return problems_; }

    // The preview's characters: those the first page shows.
    int previewedCharacters() const { return previewed_; }
    // How often the preview has been painted.
    int previewPaints() const { return previewPaints_; }

    // Its parts, for the keyboard's order and for tests.
    QPlainTextEdit* charactersField() const { return characters_; }
    QComboBox* boxField() const { return box_; }
    QComboBox* gridField() const { return grid_; }
    QLineEdit* titleField() const { return title_; }
    QSpinBox* traceRowsField() const { return traceRows_; }
    QSpinBox* copyRowsField() const { return copyRows_; }
    QCheckBox* fillPageField() const { return fillPage_; }
    QCheckBox* buildRowField() const { return buildRow_; }
    QPushButton* addGroupButton() const { return addGroup_; }
    QPushButton* acceptButton() const { return accept_; }
    QPrintPreviewWidget* preview() const { return preview_; }

  private:
    void build(Purpose purpose, const QString& text, const sheet::SheetOptions& options);
    void changed();
    void check();
    void paintPreview(QPrinter* printer);

    SheetSources sources_;
    std::unique_ptr<QPrinter> printer_;
    QPlainTextEdit* characters_ = nullptr;
    QLabel* charactersReason_ = nullptr;
    QPushButton* addGroup_ = nullptr;
    QComboBox* paper_ = nullptr;
    QComboBox* grid_ = nullptr;
    QComboBox* box_ = nullptr;
    QLabel* boxReason_ = nullptr;
    QSpinBox* traceRows_ = nullptr;
    QCheckBox* buildRow_ = nullptr;
    QSpinBox* copyRows_ = nullptr;
    QCheckBox* fillPage_ = nullptr;
    QLabel* rowsReason_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLabel* titleReason_ = nullptr;
    QCheckBox* nameLine_ = nullptr;
    QCheckBox* pinyin_ = nullptr;
    QPushButton* accept_ = nullptr;
    QPrintPreviewWidget* preview_ = nullptr;
    QTimer* previewTimer_ = nullptr;
    QString problems_;
    std::vector<sheet::SheetCharacter> shown_;
    int previewed_ = 0;
    int previewPaints_ = 0;
};

}  // namespace qir::sheet_dialog
