// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/picture.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "app/panel.h"
#include "desktop/pixel_snapping.h"

namespace qir::app {
namespace {

// A click is a press and a release of the left button over the same control.
bool releasedInside(const QWidget* widget, const QMouseEvent* event, bool pressed) {
    return pressed && event->button() == Qt::LeftButton &&
           widget->rect().contains(event->position().toPoint());
}

}  // namespace

Picture::Picture(QWidget* parent, const QRect& geometry, QImage picture)
    : QWidget(parent), picture_(std::move(picture)) {
    setGeometry(geometry);
    setMouseTracking(true);
    setAttribute(Qt::WA_NoMousePropagation);
}

void Picture::setPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

void Picture::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    // A picture made for another device pixel ratio is scaled smoothly, not pixel-doubled.
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          picture_.devicePixelRatio() != devicePixelRatioF());
    painter.drawImage(QPoint(0, 0), picture_);
}

void Picture::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    event->accept();
}

void Picture::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void Picture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = releasedInside(this, event, pressed_);
    pressed_ = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}

Bevel::Bevel(QWidget* parent, const QRect& geometry, Kind kind) : QWidget(parent), kind_(kind) {
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Bevel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (kind_ == Kind::RaisedTopLine) {
        fillSnapped(painter, QRect(0, 0, width(), 1), QColor(0xFF, 0xFF, 0xFF));
        fillSnapped(painter, QRect(0, 1, width(), 1), QColor(0x80, 0x80, 0x80));
    } else {
        drawBevel(painter, rect(), BevelCut::Lowered);
    }
}

Shape::Shape(QWidget* parent, const QRect& geometry) : QWidget(parent) {
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    drawSnappedEdge(painter, rect(), Qt::black, Qt::black);
}

LinkLabel::LinkLabel(QWidget* parent, QPoint position, const QString& text)
    : QWidget(parent), text_(text) {
    QFont font(QStringLiteral("MS Serif"));
    font.setPixelSize(11);
    font.setBold(true);
    setFont(font);
    const QFontMetrics metrics(font);
    setGeometry(QRect(position, QSize(metrics.horizontalAdvance(text_), metrics.height())));
    setAttribute(Qt::WA_NoMousePropagation);
}

void LinkLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop, text_);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = releasedInside(this, event, pressed_);
    pressed_ = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}

}  // namespace qir::app
