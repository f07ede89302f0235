// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The input box: holds at most two bytes of the Chinese code page, one Chinese character. Every
// way text gets in (keys, input method commits, the clipboard) goes through the key filter,
// and each refused character beeps.

#include <QClipboard>
#include <QLineEdit>
#include <functional>
#include <string>

#include "desktop/desktop.h"

class QMenu;

namespace qir::selection {

class HanziEdit : public QLineEdit {
    Q_OBJECT
  public:
    static constexpr std::size_t kMaxBytes = 2;

    explicit HanziEdit(Desktop& desktop, QWidget* parent = nullptr);

    // The text as GB2312 bytes (what Edit1Change reads).
    std::string bytes() const;

    // Inserts clipboard text as if its characters were typed: refused characters are dropped,
    // with a single beep for the whole paste.
    void pasteFiltered(QClipboard::Mode mode = QClipboard::Clipboard);
    void insertPasted(const QString& text);

    // The standard edit menu with its Paste going through the filter; the caller owns it.
    QMenu* createFilteredContextMenu();
    // Adds the window's own entries to the box's context menu, below the edit entries.
    void setMenuExtension(std::function<void(QMenu&)> extend) { extendMenu_ = std::move(extend); }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Bytes left for new text once the selection, which new text replaces, is gone.
    std::size_t byteBudget() const;
    void beep(int times);

    Desktop& desktop_;
    std::function<void(QMenu&)> extendMenu_;
};

}  // namespace qir::selection
