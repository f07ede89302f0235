// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program asks of the desktop: a beep, the default handler for a document or web
// address, and the application's error box. Tests put a recording desktop in its place.

#include <QString>

class QWidget;

namespace qir {

inline const QString kApplicationTitle = QStringLiteral("QIR Demonstration of stroke order");

class Desktop {
  public:
    virtual ~Desktop() = default;
    virtual void beep() = 0;
    // Fire and forget; only where no program can show it at all, the error box says so.
    virtual void openDocument(const QString& target) = 0;
    // The application's error box: error icon, OK, the application title as caption.
    // `text` already carries its full stop.
    virtual void showError(const QString& text) = 0;
};

// The real desktop: QApplication::beep, xdg-open (or QDesktopServices), QMessageBox.
class SystemDesktop : public Desktop {
  public:
    void beep() override;
    void openDocument(const QString& target) override;
    void showError(const QString& text) override;
};

}  // namespace qir
