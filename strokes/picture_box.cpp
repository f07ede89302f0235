// SPDX-License-Identifier: GPL-3.0-or-later
#include "strokes/picture_box.h"

#include <QMouseEvent>
#include <QPainter>

#include "desktop/pixel_snapping.h"
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
    scaled_ = fitToPictureBox(picture, devicePixelRatioF());
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (!picture_.isNull() && scaled_.devicePixelRatio() != devicePixelRatioF()) {
        scaled_ = fitToPictureBox(picture_, devicePixelRatioF());  // moved to another screen
    }
    QPainter painter(this);
    drawPicture(painter, rect(), scaled_, palette().color(QPalette::Base));
    if (hasFocus()) {
        drawSnappedEdge(painter, rect(), kWindowFrame, kWindowFrame);
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
