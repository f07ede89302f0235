// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_look.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

namespace qir::app {
namespace {

const QString kWindowStyle = QStringLiteral("Fusion");

}  // namespace

QPalette windowPalette() {
    // Made from the light button colour alone: a style's standard palette follows the
    // desktop's colour scheme, and turns dark with a dark one.
    QPalette standard(QColor(0xEF, 0xEF, 0xEF));
    standard.setColor(QPalette::Highlight, QColor(0x30, 0x8C, 0xC6));
    standard.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x91, 0x91, 0x91));
    // Setting each brush marks it as the widget's own, so it wins over the application's.
    QPalette palette;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = static_cast<QPalette::ColorGroup>(group);
            const auto r = static_cast<QPalette::ColorRole>(role);
            palette.setBrush(g, r, standard.brush(g, r));
        }
    }
    return palette;
}

void keepOwnLook(QWidget& window) {
    QStyle* style = QStyleFactory::create(kWindowStyle);
    style->setParent(&window);
    const QList<QWidget*> children = window.findChildren<QWidget*>();
    for (QWidget* widget : children) {
        if (widget->window() == &window && widget->style() == QApplication::style()) {
            widget->setStyle(style);
        }
    }
    window.setStyle(style);
    window.setPalette(windowPalette());
}

}  // namespace qir::app
