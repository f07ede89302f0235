// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture control: draws its picture at its own size from the top-left corner, clipped to
// the control, and reports pointer movement and clicks.

#ifndef QIR_APP_INTERNALS
#error "app/picture.h is private to its folder"
#endif

#include <QImage>
#include <QWidget>

namespace qir::app {

class Picture : public QWidget {
    Q_OBJECT
  public:
    Picture(QWidget* parent, const QRect& geometry, QImage picture = {});

    void setPicture(QImage picture);
    const QImage& picture() const { return picture_; }

  signals:
    void clicked();
    void mouseMoved();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QImage picture_;
    bool pressed_ = false;
};

// A horizontal line or lowered box drawn on its parent's surface.
class Bevel : public QWidget {
  public:
    enum class Kind { RaisedTopLine, LoweredBox };
    Bevel(QWidget* parent, const QRect& geometry, Kind kind);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Kind kind_;
};

// A rectangle with a white fill and a one-pixel black outline.
class Shape : public QWidget {
  public:
    Shape(QWidget* parent, const QRect& geometry);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// The web address: white bold text on its panel, clickable.
class LinkLabel : public QWidget {
    Q_OBJECT
  public:
    LinkLabel(QWidget* parent, QPoint position, const QString& text);
    const QString& text() const { return text_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QString text_;
    bool pressed_ = false;
};

}  // namespace qir::app
