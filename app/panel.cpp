// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/panel.h"

#include <QMouseEvent>
#include <QPainter>

#include "desktop/pixel_snapping.h"

namespace qir::app {
namespace {

const QColor kHighlight(0xFF, 0xFF, 0xFF);
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kDarkShadow(0x40, 0x40, 0x40);
const QColor kLight(0xE3, 0xE3, 0xE3);

// Snapped to device pixels, so no edge vanishes at a fractional scale.
void drawEdge(QPainter& painter, const QRect& rect, const QColor& topLeft,
              const QColor& bottomRight) {
    drawSnappedEdge(painter, rect, topLeft, bottomRight);
}

}  // namespace

void drawBevel(QPainter& painter, const QRect& rect, BevelCut cut) {
    if (cut == BevelCut::Raised) {
        drawEdge(painter, rect, kHighlight, kShadow);
    } else if (cut == BevelCut::Lowered) {
        drawEdge(painter, rect, kShadow, kHighlight);
    }
}

Panel::Panel(QWidget* parent, const QRect& geometry) : QWidget(parent) {
    setGeometry(geometry);
    setMouseTracking(true);
    // A panel keeps its clicks: they never reach the window's surface and start a drag.
    setAttribute(Qt::WA_NoMousePropagation);
}

void Panel::setColor(std::optional<QColor> color) {
    setAutoFillBackground(color.has_value());
    if (color) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, *color);
        setPalette(palette);
    }
    update();
}

void Panel::setBevels(BevelCut outer, BevelCut inner) {
    outer_ = outer;
    inner_ = inner;
    update();
}

void Panel::setClientEdge() {
    clientEdge_ = true;
    client_ = new Panel(this, rect().adjusted(2, 2, -2, -2));
    connect(client_, &Panel::mouseMoved, this, &Panel::mouseMoved);
}

QWidget* Panel::client() {
    return client_ != nullptr ? static_cast<QWidget*>(client_) : this;
}

void Panel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The lines run through the rectangle's own outermost pixels: right() and bottom() are
    // the last column and row inside it.
    QRect edge = rect();
    if (clientEdge_) {
        drawEdge(painter, edge, kShadow, kHighlight);
        drawEdge(painter, edge.adjusted(1, 1, -1, -1), kDarkShadow, kLight);
        return;
    }
    drawBevel(painter, edge, outer_);
    if (outer_ != BevelCut::None) {
        edge.adjust(1, 1, -1, -1);
    }
    drawBevel(painter, edge, inner_);
}

void Panel::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    event->accept();
}

void Panel::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

}  // namespace qir::app
