// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/accessibility.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>

#include "app/picture.h"
#include "desktop/desktop.h"

namespace qir::app {
namespace {

// The application keeps "MyTarsel" as its name, which the window system sees as the window
// class; a screen reader announces the title instead.
class ApplicationAccessible : public QAccessibleApplication {
  public:
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return kApplicationTitle;
        }
        return QAccessibleApplication::text(kind);
    }
};

// A control that acts on a click (a picture button, the web link): its press action clicks.
template <typename Control>
class ClickableAccessible : public QAccessibleWidget {
  public:
    ClickableAccessible(Control* control, QAccessible::Role role)
        : QAccessibleWidget(control, role) {}

    // The background is a picture the pointer passes through, not a button.
    bool clickable() const { return !widget()->testAttribute(Qt::WA_TransparentForMouseEvents); }
    QAccessible::Role role() const override {
        return clickable() ? QAccessibleWidget::role() : QAccessible::Graphic;
    }
    QStringList actionNames() const override {
        return clickable() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (action == pressAction() && clickable() && widget()->isEnabled()) {
            emit static_cast<Control*>(widget())->clicked();
        }
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = false;  // reached by their shortcuts, not by Tab
        return state;
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (object == qApp && className == QLatin1String("QApplication")) {
        return new ApplicationAccessible;
    }
    if (className == QLatin1String(Picture::staticMetaObject.className())) {
        return new ClickableAccessible<Picture>(static_cast<Picture*>(object), QAccessible::Button);
    }
    // The panel the clip plays in is the animation.
    if (object->objectName() == QLatin1String("Panelavi") && object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Animation);
    }
    if (className == QLatin1String(LinkLabel::staticMetaObject.className())) {
        return new ClickableAccessible<LinkLabel>(static_cast<LinkLabel*>(object),
                                                  QAccessible::Link);
    }
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace qir::app
