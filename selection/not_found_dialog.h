// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog shown when a typed character is not in the store: a confirmation with one "Yes"
// button. Esc does not close it; its close box does, with a different result.

#include <QDialog>
#include <string>

class QPushButton;

namespace qir::selection {

// What the dialog returns.
inline constexpr int kDialogYes = 6;
inline constexpr int kDialogClosed = 2;

// "该字超出收字范围!" as GB2312 bytes.
inline const std::string kNotFoundText =
    "\xB8\xC3\xD7\xD6\xB3\xAC\xB3\xF6\xCA\xD5\xD7\xD6\xB7\xB6\xCE\xA7!";

class NotFoundDialog : public QDialog {
    Q_OBJECT
  public:
    explicit NotFoundDialog(QWidget* parent = nullptr);

    QPushButton* yesButton() const { return yesButton_; }

    // Shows the dialog modally, centred on the screen: kDialogYes from the button,
    // kDialogClosed from the close box or the window system's close command.
    static int ask(QWidget* parent);

  public slots:
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QPushButton* yesButton_;
};

}  // namespace qir::selection
