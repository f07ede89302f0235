// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The way from the main window to the handwriting pad: the shortcut, the menu entry, and the
// chosen character going into the input box as an input method commits it, so that the usual
// display sequence runs. The pad is made when first asked for, never at start-up.

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <functional>

class QMenu;
class QLineEdit;
class QWidget;

namespace qir::handwriting_pad {
class HandwritingPad;
}

namespace qir::app {

class FindByDrawing : public QObject {
    Q_OBJECT
  public:
    // `inputBox` receives the chosen characters; `storeFolder` is asked when the pad is made.
    FindByDrawing(QWidget* window, QLineEdit& inputBox,
                  std::function<std::filesystem::path()> storeFolder);

    // Shows the pad (making it first) and brings it forward.
    void open();
    // Adds "Find by drawing…" to `menu`; it opens the pad once the menu's handler returned.
    void addMenuEntry(QMenu& menu);
    // The pad, once made.
    handwriting_pad::HandwritingPad* pad() const;

    // Puts `character` into the input box as a committed input-method character.
    void commit(const QString& character);

  private:
    QWidget* window_;
    QLineEdit& inputBox_;
    std::function<std::filesystem::path()> storeFolder_;
    QPointer<handwriting_pad::HandwritingPad> pad_;
};

}  // namespace qir::app
