// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

#include "strokes/cell_painting.h"

namespace qir::strokes {

BevelPanel::BevelPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Panel9"));
    setFixedSize(kPanelSize, kPanelSize);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BevelPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawPanel(painter, rect());
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DBImage1"));
    setFixedSize(kPictureSize, kPictureSize);
    setFocusPolicy(Qt::ClickFocus);
}

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    scaled_ = fitToPictureBox(picture);
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawPicture(painter, rect(), scaled_, palette().color(QPalette::Base));
    if (hasFocus()) {
        painter.setPen(kWindowFrame);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    // The click has given the box the focus; the grid behind must not take it back.
    event->accept();
}

void PictureBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void PictureBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

}  // namespace qir::strokes
