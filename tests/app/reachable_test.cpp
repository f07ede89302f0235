// SPDX-License-Identifier: GPL-3.0-or-later
// The window for a keyboard and a screen reader, and under a dark desktop theme.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <QTreeWidget>

#include "app/window_look.h"
#include "tests/app/form_fixture.h"

namespace qir {
namespace {

using testing::FormFixture;

QAccessibleInterface* accessible(QObject* object) {
    QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(object);
    if (interface == nullptr) {
        throw std::runtime_error("no accessible interface");
    }
    return interface;
}

TEST(Reachable, TheApplicationIsAnnouncedByItsTitleAndEveryControlHasANameAndRole) {
    FormFixture fixture;
    EXPECT_EQ(accessible(qApp)->text(QAccessible::Name),
              QStringLiteral("QIR Demonstration of stroke order"));
    EXPECT_EQ(fixture.form().windowTitle(), QStringLiteral("QIR Demonstration of stroke order"));

    const struct {
        const char* control;
        QAccessible::Role role;
        const char* name;
        const char* key;  // named in the description
    } buttons[] = {
        {"Imageexit", QAccessible::Button, "Exit", "Ctrl+Q"},
        {"Imagemini", QAccessible::Button, "Minimise", "Ctrl+M"},
        {"Imagehelp", QAccessible::Button, "Help", "F1"},
        {"Imagenext", QAccessible::Button, "Next character", "Alt+Right"},
        {"Imageprev", QAccessible::Button, "Previous character", "Alt+Left"},
    };
    for (const auto& button : buttons) {
        QAccessibleInterface* access = accessible(fixture.control(button.control));
        EXPECT_EQ(access->role(), button.role) << button.control;
        EXPECT_EQ(access->text(QAccessible::Name), QString::fromLatin1(button.name));
        const QString description = access->text(QAccessible::Description);
        EXPECT_TRUE(description.contains(QString::fromLatin1(button.key)))
            << description.toStdString();
        EXPECT_TRUE(description.startsWith(fixture.control(button.control)->toolTip()));
        ASSERT_NE(access->actionInterface(), nullptr);
        EXPECT_EQ(access->actionInterface()->actionNames(),
                  QStringList{QAccessibleActionInterface::pressAction()});
    }
    EXPECT_EQ(accessible(fixture.control("Label2"))->role(), QAccessible::Link);
    EXPECT_EQ(accessible(fixture.control("Image1"))->role(), QAccessible::Graphic);

    const struct {
        const char* control;
        QAccessible::Role role;
        const char* name;
    } controls[] = {
        {"Edit1", QAccessible::EditableText, "Input character"},
        {"TreeView1", QAccessible::Tree, "Characters by number of strokes"},
        {"DBCtrlGrid1", QAccessible::List, "Stroke steps"},
        {"MediaPlayer1", QAccessible::ToolBar, "Player"},
        {"Panelavi", QAccessible::Animation, "Animation"},
    };
    for (const auto& control : controls) {
        QAccessibleInterface* access = accessible(fixture.control(control.control));
        EXPECT_EQ(access->role(), control.role) << control.control;
        EXPECT_EQ(access->text(QAccessible::Name), QString::fromLatin1(control.name))
            << control.control;
    }
    EXPECT_EQ(accessible(fixture.control("MediaPlayer1"))->childCount(), 7);
}

TEST(Reachable, PressActionsDoWhatAClickDoes) {
    FormFixture fixture;
    TForm1& form = fixture.form();
    form.show();
    const auto press = [&](const char* control) {
        accessible(fixture.control(control))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
    };
    press("Imagehelp");
    press("Label2");
    ASSERT_EQ(fixture.desktop().opened.size(), 2);
    EXPECT_EQ(fixture.desktop().opened[0], "help.htm");
    EXPECT_TRUE(fixture.desktop().opened[1].startsWith("https://"));
    press("Imageexit");
    EXPECT_FALSE(form.isVisible());
}

TEST(Reachable, TheButtonsKeysWorkWhereverTheFocusIs) {
    FormFixture fixture;
    TForm1& form = fixture.form();
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    for (const char* focus : {"Edit1", "TreeView1", "DBCtrlGrid1", "MediaPlayer1"}) {
        fixture.control(focus)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
        EXPECT_EQ(fixture.desktop().opened.size(), 1) << focus;
        EXPECT_EQ(fixture.desktop().opened.value(0), "help.htm");
        fixture.desktop().opened.clear();
    }
    // No character yet: previous and next do nothing, and say nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(fixture.desktop().errors.isEmpty());
    EXPECT_TRUE(form.CurrentHanzi().empty());

    fixture.control("Edit1")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(form.isMinimized());
    form.ActivateInstance();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(form.isVisible());
}

// A dark desktop: the application's palette and style turn dark, the skinned window's controls
// stay light; a dialog follows the desktop.
TEST(Reachable, TheWindowKeepsItsLightLookUnderADarkTheme) {
    const QString desktopStyle = QApplication::style()->name();
    const QPalette desktopPalette = QApplication::palette();
    QPalette dark(QColor(0x2D, 0x2D, 0x2D), QColor(0x2D, 0x2D, 0x2D));
    dark.setColor(QPalette::Base, QColor(0x2D, 0x2D, 0x2D));
    dark.setColor(QPalette::Text, QColor(0x80, 0x80, 0x7F));
    dark.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x7F));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows")));
    QApplication::setPalette(dark);
    {
        FormFixture fixture;
        TForm1& form = fixture.form();
        form.show();
        const QPalette light = app::windowPalette();
        EXPECT_LT(light.color(QPalette::Text).lightness(), 64);
        EXPECT_GT(light.color(QPalette::Base).lightness(), 220);
        for (const char* name : {"Edit1", "TreeView1", "DBCtrlGrid1", "MediaPlayer1"}) {
            QWidget* control = fixture.control(name);
            for (const auto role : {QPalette::Base, QPalette::Text, QPalette::Button,
                                    QPalette::ButtonText, QPalette::WindowText}) {
                EXPECT_EQ(control->palette().color(role), light.color(role)) << name;
            }
        }
        // The scroll bars and the input box draw in the window's own style, not the desktop's.
        auto* grid = fixture.control("DBCtrlGrid1");
        QScrollBar* bar = grid->findChild<QScrollBar*>();
        ASSERT_NE(bar, nullptr);
        EXPECT_NE(bar->style(), QApplication::style());
        EXPECT_EQ(bar->style(), fixture.control("Edit1")->style());
        EXPECT_EQ(fixture.control<QTreeWidget>("TreeView1")->verticalScrollBar()->style(),
                  bar->style());
        // What the input box shows is light.
        const QImage box = fixture.control("Edit1")->grab().toImage();
        EXPECT_GT(QColor(box.pixel(box.width() - 3, box.height() / 2)).lightness(), 220);

        if (const QString shots = qEnvironmentVariable("QIR_SCREENSHOT_DIR"); !shots.isEmpty()) {
            form.grab().save(shots + QStringLiteral("/window-dark-theme.png"));
        }
        QWidget dialog;  // a window of its own follows the desktop
        EXPECT_EQ(dialog.palette().color(QPalette::Base), QColor(0x2D, 0x2D, 0x2D));
    }
    QApplication::setPalette(desktopPalette);
    QApplication::setStyle(QStyleFactory::create(desktopStyle));
}

}  // namespace
}  // namespace qir
