// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/find_by_drawing.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>

#include "handwriting_pad/handwriting_pad.h"

namespace qir::app {

FindByDrawing::FindByDrawing(QWidget* window, QLineEdit& inputBox,
                             std::function<std::filesystem::path()> storeFolder)
    : QObject(window), window_(window), inputBox_(inputBox), storeFolder_(std::move(storeFolder)) {}

handwriting_pad::HandwritingPad* FindByDrawing::pad() const {
    return pad_.data();
}

void FindByDrawing::open() {
    if (!pad_) {
        pad_ = new handwriting_pad::HandwritingPad({storeFolder_()}, window_);
        connect(pad_, &handwriting_pad::HandwritingPad::chosen, this, &FindByDrawing::commit);
    }
    pad_->show();
    pad_->raise();
    pad_->activateWindow();
}

void FindByDrawing::addMenuEntry(QMenu& menu) {
    QAction* entry = menu.addAction(handwriting_pad::findByDrawingText());
    entry->setShortcut(handwriting_pad::kFindByDrawingKey);
    entry->setShortcutVisibleInContextMenu(true);
    // Queued, as every context menu entry of the window: the menu is gone before the pad shows.
    connect(entry, &QAction::triggered, this, &FindByDrawing::open, Qt::QueuedConnection);
}

void FindByDrawing::commit(const QString& character) {
    // The character replaces what the box holds, as a newly typed one does.
    inputBox_.selectAll();
    QInputMethodEvent event;
    event.setCommitString(character);
    QCoreApplication::sendEvent(&inputBox_, &event);
}

}  // namespace qir::app
