// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A panel as the window's design draws it: an optional colour of its own, one-pixel outer and
// inner bevels, and optionally a sunken two-pixel window edge with the children inside it.

#ifndef QIR_APP_INTERNALS
#error "app/panel.h is private to its folder"
#endif

#include <QColor>
#include <QWidget>
#include <optional>

namespace qir::app {

enum class BevelCut { None, Raised, Lowered };

// Draws a one-pixel 3-D frame on `rect`'s outermost pixels.
void drawBevel(class QPainter& painter, const QRect& rect, BevelCut cut);

class Panel : public QWidget {
    Q_OBJECT
  public:
    Panel(QWidget* parent, const QRect& geometry);

    // Without a colour the panel shows its parent's.
    void setColor(std::optional<QColor> color);
    void setBevels(BevelCut outer, BevelCut inner);
    // Adds the sunken two-pixel edge; the children then belong in client().
    void setClientEdge();
    QWidget* client();

  signals:
    // The pointer moved over the panel's own surface, not over a child.
    void mouseMoved();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    BevelCut outer_ = BevelCut::None;
    BevelCut inner_ = BevelCut::None;
    bool clientEdge_ = false;
    Panel* client_ = nullptr;
};

}  // namespace qir::app
