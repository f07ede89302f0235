// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/hanzi_edit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <memory>

#include "desktop/fonts.h"
#include "platform/gb2312.h"
#include "selection/key_filter.h"

namespace qir::selection {
namespace {

bool hasPrintable(const QString& text) {
    for (char32_t character : text.toStdU32String()) {
        if (character >= 0x20 && character != 0x7F) {
            return true;
        }
    }
    return false;
}

}  // namespace

HanziEdit::HanziEdit(Desktop& desktop, QWidget* parent) : QLineEdit(parent), desktop_(desktop) {
    setFont(kaitiFont());
    setFrame(false);
    setToolTip(QStringLiteral("Input character"));
    // Counted in characters here; the byte limit is kept by every insertion below.
    setMaxLength(static_cast<int>(kMaxBytes));
    // A drop would be one more way in around the filter.
    setAcceptDrops(false);
    resize(109, 23);
}

std::string HanziEdit::bytes() const {
    if (auto encoded = gb2312::fromUnicode(text())) {
        return *encoded;
    }
    // Only a program can put such text here; keep what can be encoded.
    std::string encoded;
    for (char32_t character : text().toStdU32String()) {
        if (auto one = gb2312::fromUnicode(QString::fromUcs4(&character, 1))) {
            encoded += *one;
        }
    }
    return encoded;
}

std::size_t HanziEdit::byteBudget() const {
    const std::size_t kept = gb2312Size(text()) - gb2312Size(selectedText());
    return kept >= kMaxBytes ? 0 : kMaxBytes - kept;
}

void HanziEdit::beep(int times) {
    for (int i = 0; i < times; ++i) {
        desktop_.beep();
    }
}

void HanziEdit::pasteFiltered(QClipboard::Mode mode) {
    if (isReadOnly()) {
        return;
    }
    insertPasted(QGuiApplication::clipboard()->text(mode));
}

void HanziEdit::insertPasted(const QString& text) {
    // Pasted text obeys the same filter as typed text, so ASCII (and with it the "%" and "_"
    // wildcards of the lookup) never reaches the box.
    const FilteredText filtered = filterTypedText(text, byteBudget());
    if (filtered.refusals > 0) {
        desktop_.beep();
    }
    if (!filtered.accepted.isEmpty()) {
        insert(filtered.accepted);
    }
}

void HanziEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteFiltered();
        event->accept();
        return;
    }
    // Editing keys and control characters (Backspace, Ctrl+C, ...) pass the filter unchanged.
    if (!hasPrintable(event->text())) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // A printable key with Ctrl, Alt or Meta held is a shortcut, not a character.
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        event->ignore();
        return;
    }
    event->accept();
    if (isReadOnly()) {
        return;
    }
    const FilteredText filtered = filterTypedText(event->text(), byteBudget());
    beep(filtered.refusals);
    if (!filtered.accepted.isEmpty()) {
        insert(filtered.accepted);
    }
}

void HanziEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    const FilteredText filtered = filterTypedText(event->commitString(), byteBudget());
    beep(filtered.refusals);
    QInputMethodEvent passed(event->preeditString(), event->attributes());
    passed.setCommitString(filtered.accepted, event->replacementStart(),
                           event->replacementLength());
    QLineEdit::inputMethodEvent(&passed);
    event->setAccepted(passed.isAccepted());
}

void HanziEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Tab, Backtab and shortcuts select everything already; a focus the program gives does
    // too, so the next character typed replaces the present one. A click places the caret,
    // and coming back to the window leaves the selection as it was.
    if (event->reason() == Qt::OtherFocusReason) {
        selectAll();
    }
}

void HanziEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        pasteFiltered(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

QMenu* HanziEdit::createFilteredContextMenu() {
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        // The entry that would paste unfiltered is the one wired to QLineEdit::paste.
        if (disconnect(action, SIGNAL(triggered()), this, SLOT(paste())) ||
            disconnect(action, &QAction::triggered, this, &QLineEdit::paste)) {
            action->setObjectName(QStringLiteral("edit-paste"));
            connect(action, &QAction::triggered, this, [this] { pasteFiltered(); });
        }
    }
    if (extendMenu_) {
        menu->addSeparator();
        extendMenu_(*menu);
    }
    return menu;
}

void HanziEdit::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(createFilteredContextMenu());
    menu->exec(event->globalPos());
}

}  // namespace qir::selection
