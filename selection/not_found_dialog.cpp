// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/not_found_dialog.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "desktop/window_activation.h"
#include "platform/gb2312.h"
#include "selection/character_selection.h"

namespace qir::selection {

NotFoundDialog::NotFoundDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      yesButton_(new QPushButton(QStringLiteral("&Yes"), this)) {
    setWindowTitle(QStringLiteral("Confirm"));
    setModal(true);

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()
                        ->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this)
                        .pixmap(iconSize, iconSize));
    auto* text = new QLabel(gb2312::toUnicode(kNotFoundText), this);
    text->setObjectName(QStringLiteral("message"));

    yesButton_->setDefault(true);
    yesButton_->setAutoDefault(true);
    connect(yesButton_, &QPushButton::clicked, this, [this] { done(kDialogYes); });

    auto* message = new QHBoxLayout;
    message->addWidget(icon, 0, Qt::AlignTop);
    message->addSpacing(12);
    message->addWidget(text, 1, Qt::AlignVCenter);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yesButton_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(message);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    fitTitle(*this);
    yesButton_->setFocus();
}

int NotFoundDialog::ask(QWidget* parent) {
    NotFoundDialog dialog(parent);
    return dialog.exec();
}

void NotFoundDialog::reject() {
    // Only the close box and the system's close command get here: Esc is swallowed below.
    done(kDialogClosed);
}

void NotFoundDialog::keyPressEvent(QKeyEvent* event) {
    // There is no cancel button, so Esc has nothing to press.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void NotFoundDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

}  // namespace qir::selection
