// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <vector>

#include "tests/app/form_fixture.h"

namespace qir {
namespace {

using testing::FormFixture;

// Presses at `from` on `target`, drags by `by` and releases.
void drag(QWidget* target, QPoint from, QPoint by) {
    FormFixture::send(target, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    FormFixture::send(target, QEvent::MouseMove, from + by, Qt::NoButton, Qt::LeftButton);
    FormFixture::send(target, QEvent::MouseButtonRelease, from + by, Qt::LeftButton, Qt::NoButton);
}

TEST(Window, DraggingTheBannerMovesTheWindow) {
    FormFixture fixture;
    TForm1& form = fixture.form();
    form.show();
    const QPoint start = form.pos();
    // The banner is the window's own surface: the background picture lets the press through.
    EXPECT_EQ(form.childAt(300, 30), nullptr);
    drag(&form, {300, 30}, {25, 17});
    EXPECT_EQ(form.pos(), start + QPoint(25, 17));
}

TEST(Window, ChildWindowsAndButtonsKeepTheirPresses) {
    FormFixture fixture;
    TForm1& form = fixture.form();
    form.show();
    const QPoint start = form.pos();
    for (const char* name : {"Imageexit", "Imagehelp", "Imagenext", "Panel4", "Panel6", "Panel8",
                             "MediaPlayer1", "Panel3"}) {
        drag(fixture.control(name), {3, 3}, {30, 30});
        EXPECT_EQ(form.pos(), start) << name;
    }
    // The gap between the catalogue and the grey panel belongs to the work area.
    QWidget* gap = form.childAt(32 + 2 + 118, 89 + 2 + 100);
    ASSERT_NE(gap, nullptr);
    EXPECT_NE(gap, &form);
    drag(gap, {1, 1}, {30, 30});
    EXPECT_EQ(form.pos(), start);
}

TEST(Window, HelpAndLinkGoToTheDesktopAndMinimiseAndExitWork) {
    FormFixture fixture;
    TForm1& form = fixture.form();
    form.show();
    auto click = [&](const char* name) {
        QWidget* control = fixture.control(name);
        FormFixture::send(control, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton,
                          Qt::LeftButton);
        FormFixture::send(control, QEvent::MouseButtonRelease, {2, 2}, Qt::LeftButton,
                          Qt::NoButton);
    };
    click("Imagehelp");
    click("Label2");
    ASSERT_EQ(fixture.desktop().opened.size(), 2);
    EXPECT_EQ(fixture.desktop().opened[0], "help.htm");
    EXPECT_TRUE(fixture.desktop().opened[1].startsWith("https://"));
    EXPECT_TRUE(fixture.desktop().errors.isEmpty());

    click("Imagemini");
    EXPECT_TRUE(form.isMinimized());
    form.ActivateInstance();
    EXPECT_FALSE(form.isMinimized());
    EXPECT_TRUE(form.isVisible());

    click("Imageexit");
    EXPECT_FALSE(form.isVisible());
}

// Work that would slow the window while it comes up (the clip module's loading, the tables'
// key derivations) waits for this: it must come, once, and only after the window has painted.
TEST(Window, SaysOnceThatItsFirstPaintIsDone) {
    FormFixture fixture;
    TForm1& form = fixture.form();
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter;
    QApplication::instance()->installEventFilter(&counter);
    std::vector<int> paintsWhenSaid;
    QObject::connect(&form, &TForm1::firstPainted,
                     [&] { paintsWhenSaid.push_back(counter.paints); });
    QApplication::processEvents();
    EXPECT_TRUE(paintsWhenSaid.empty()) << "said before the window was shown";

    form.show();
    for (int i = 0; i < 100 && paintsWhenSaid.empty(); ++i) {
        QTest::qWait(20);
    }
    ASSERT_EQ(paintsWhenSaid.size(), 1u);
    EXPECT_GT(paintsWhenSaid[0], 0);
    form.hide();
    form.show();
    QTest::qWait(100);
    EXPECT_EQ(paintsWhenSaid.size(), 1u);
    QApplication::instance()->removeEventFilter(&counter);
}

TEST(Window, ActivationBringsAnOpenMessageBoxForwardRatherThanTheWindow) {
    FormFixture fixture;
    TForm1& form = fixture.form();
    form.show();
    EXPECT_EQ(form.windowToBringForward(), &form);
    QWidget* raised = nullptr;
    QTimer::singleShot(0, [&] {
        raised = form.windowToBringForward();
        form.ActivateInstance();
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->close();
        }
    });
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, "text", QMessageBox::Ok, &form);
    box.exec();
    EXPECT_EQ(raised, &box);
}

}  // namespace
}  // namespace qir
