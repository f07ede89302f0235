// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QStyle>

#include "tests/app/form_fixture.h"

namespace qir {
namespace {

struct Placement {
    const char* name;
    const char* parent;  // the control whose surface it stands on
    QRect geometry;      // relative to that parent's client area
    const char* hint;
};

// The window's design, control by control.
const Placement kPlacements[] = {
    {"Image1", "Form1", {0, 0, 640, 480}, ""},
    {"Bevel1", "Form1", {-1, 56, 644, 1}, ""},
    {"Panel3", "Form1", {533, 5, 101, 20}, ""},
    {"Label2", "Panel3", {7, 3, 0, 0}, "Visit Qir Demonstration of stroke order's web site"},
    {"Panel4", "Form1", {543, 58, 69, 42}, ""},
    {"Imageexit", "Panel4", {16, 7, 37, 17}, "Exit from QIR Demonstration of stroke order"},
    {"Panel5", "Form1", {610, 58, 29, 34}, ""},
    {"Imagemini", "Panel5", {1, 12, 29, 15}, "Minimize window"},
    {"Panel6", "Form1", {32, 89, 579, 345}, ""},
    {"TreeView1", "Panel6", {-2, 23, 114, 317}, ""},
    {"Panel8", "Panel6", {124, 3, 446, 333}, ""},
    {"Bevel2", "Panel8", {1, 160, 444, 2}, ""},
    {"Shape2", "Panel8", {136, 5, 154, 128}, ""},
    {"DBCtrlGrid1", "Panel8", {2, 161, 0, 0}, ""},  // sized by the grid itself, below
    {"Panelavi", "Panel8", {137, 6, 152, 124}, ""},
    {"Edit1", "Panel6", {0, 0, 109, 23}, "Input character"},
    {"Panel7", "Form1", {33, 435, 60, 30}, ""},
    {"Imagehelp", "Panel7", {12, 5, 37, 20}, "Help of QIR Demonstration of stroke order"},
    {"MediaPlayer1", "Form1", {272, 229, 197, 21}, ""},
    {"Panel10", "Form1", {612, 240, 27, 70}, ""},
    {"Imagenext", "Panel10", {-1, 14, 29, 15}, "Next character"},
    {"Imageprev", "Panel10", {-4, 38, 32, 17}, "Last character"},
};

// Panel6's children sit inside its two-pixel sunken edge.
QPoint clientOrigin(QWidget* parent) {
    return parent->objectName() == "Panel6" ? QPoint(2, 2) : QPoint();
}

TEST(Layout, EveryControlStandsWhereTheDesignPutsIt) {
    testing::FormFixture fixture;
    QWidget& form = fixture.form();
    EXPECT_EQ(form.size(), QSize(640, 480));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form.windowTitle(), "QIR Demonstration of stroke order");
    for (const Placement& p : kPlacements) {
        SCOPED_TRACE(p.name);
        QWidget* control = fixture.control(p.name);
        QWidget* parent = p.parent == std::string("Form1") ? &form : fixture.control(p.parent);
        ASSERT_TRUE(parent->isAncestorOf(control));
        const QPoint origin = control->mapTo(parent, QPoint(0, 0)) - clientOrigin(parent);
        EXPECT_EQ(origin, p.geometry.topLeft());
        if (!p.geometry.size().isEmpty()) {
            EXPECT_EQ(control->size(), p.geometry.size());
        }
        EXPECT_EQ(control->toolTip(), QString::fromLatin1(p.hint));
    }
}

TEST(Layout, TheLinkFitsItsPanel) {
    testing::FormFixture fixture;
    QWidget* link = fixture.control("Label2");
    EXPECT_TRUE(QRect(0, 0, 101, 20).contains(link->geometry()))
        << link->width() << "x" << link->height();
}

TEST(Layout, TheGridSizesItselfFromItsCellsAndTheScrollBar) {
    testing::FormFixture fixture;
    QWidget* grid = fixture.control("DBCtrlGrid1");
    const int scrollBar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_EQ(grid->size(), QSize(5 * 85 + scrollBar, 2 * 86));
}

TEST(Layout, WorkAreaWorksOutToTheWindowCoordinatesOfTheDesign) {
    testing::FormFixture fixture;
    QWidget& form = fixture.form();
    EXPECT_EQ(fixture.control("Shape2")->mapTo(&form, QPoint()), QPoint(294, 99));
    EXPECT_EQ(fixture.control("Panelavi")->mapTo(&form, QPoint()), QPoint(295, 100));
}

TEST(Layout, LaterSiblingsLieAboveEarlierOnes) {
    testing::FormFixture fixture;
    QWidget& form = fixture.form();
    // The minimise panel overlaps the exit panel's right edge and lies above it.
    EXPECT_EQ(form.childAt(611, 60)->objectName(), "Panel5");
    // The player bar lies above the work area.
    QWidget* atBar = form.childAt(300, 235);
    EXPECT_TRUE(atBar->objectName() == "MediaPlayer1" ||
                fixture.control("MediaPlayer1")->isAncestorOf(atBar));
}

TEST(Layout, ButtonsShowTheHandAndTheInputBoxStartsEmptyWithFocusOnShow) {
    testing::FormFixture fixture;
    for (const char* name :
         {"Imageexit", "Imagemini", "Imagehelp", "Imagenext", "Imageprev", "Label2"}) {
        EXPECT_EQ(fixture.control(name)->cursor().shape(), Qt::PointingHandCursor) << name;
    }
    auto* edit = fixture.control<QLineEdit>("Edit1");
    EXPECT_TRUE(edit->text().isEmpty());
    fixture.form().show();
    QApplication::setActiveWindow(&fixture.form());
    EXPECT_EQ(QApplication::focusWidget(), edit);
}

// The colours of the window's 3-D edges.
const QColor kHighlight(0xFF, 0xFF, 0xFF);
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kDarkShadow(0x40, 0x40, 0x40);
const QColor kLight(0xE3, 0xE3, 0xE3);

// Checks the frame `inset` pixels inside `rect` of `shot`: its top and left in `topLeft`, its
// bottom and right in `bottomRight`, sampled on each side at `at`'s x or y where children
// leave the frame visible, and at the bottom-right corner.
void expectFrame(const QImage& shot, QRect rect, int inset, QPoint at, const QColor& topLeft,
                 const QColor& bottomRight) {
    rect.adjust(inset, inset, -inset, -inset);
    EXPECT_EQ(shot.pixelColor(at.x(), rect.top()), topLeft) << "top, inset " << inset;
    EXPECT_EQ(shot.pixelColor(rect.left(), at.y()), topLeft) << "left, inset " << inset;
    EXPECT_EQ(shot.pixelColor(at.x(), rect.bottom()), bottomRight) << "bottom, inset " << inset;
    EXPECT_EQ(shot.pixelColor(rect.right(), at.y()), bottomRight) << "right, inset " << inset;
    EXPECT_EQ(shot.pixelColor(rect.bottomRight()), bottomRight) << "corner, inset " << inset;
}

TEST(Layout, BevelsAndEdgesLieOnTheOutermostPixels) {
    testing::FormFixture fixture;
    {
        SCOPED_TRACE("Panel3");
        QWidget* panel = fixture.control("Panel3");
        const QImage shot = panel->grab().toImage();
        const QPoint at(96, 10);                                       // right of the link
        expectFrame(shot, panel->rect(), 0, at, kHighlight, kShadow);  // raised outer bevel
        expectFrame(shot, panel->rect(), 1, at, kShadow, kHighlight);  // lowered inner bevel
    }
    {
        SCOPED_TRACE("Panel8");
        QWidget* panel = fixture.control("Panel8");
        const QImage shot = panel->grab().toImage();
        // The grid covers the bottom bevels but for the corner, as the design places it.
        const QRect outer = panel->rect();
        EXPECT_EQ(shot.pixelColor(20, outer.top()), kHighlight);
        EXPECT_EQ(shot.pixelColor(outer.left(), 80), kHighlight);
        EXPECT_EQ(shot.pixelColor(outer.right(), 80), kShadow);
        EXPECT_EQ(shot.pixelColor(outer.bottomRight()), kShadow);
        const QRect inner = outer.adjusted(1, 1, -1, -1);
        EXPECT_EQ(shot.pixelColor(20, inner.top()), kShadow);
        EXPECT_EQ(shot.pixelColor(inner.left(), 80), kShadow);
        EXPECT_EQ(shot.pixelColor(inner.right(), 80), kHighlight);
    }
    {
        SCOPED_TRACE("Panel6");
        QWidget* workArea = fixture.control("Panel6");
        const QImage shot = workArea->grab().toImage();
        const QPoint at(289, 172);
        expectFrame(shot, workArea->rect(), 0, at, kShadow, kHighlight);  // the sunken edge
        expectFrame(shot, workArea->rect(), 1, at, kDarkShadow, kLight);
        // The raised bevel of the area inside, whose left side the catalogue covers.
        const QRect inside = workArea->rect().adjusted(2, 2, -2, -2);
        EXPECT_EQ(shot.pixelColor(at.x(), inside.top()), kHighlight);
        EXPECT_EQ(shot.pixelColor(at.x(), inside.bottom()), kShadow);
        EXPECT_EQ(shot.pixelColor(inside.right(), at.y()), kShadow);
    }
    {
        SCOPED_TRACE("Bevel2");
        QWidget* divider = fixture.control("Bevel2");
        const QImage shot = fixture.control("Panel8")->grab().toImage();
        const QRect box = divider->geometry();  // two pixels high: a lowered box
        EXPECT_EQ(shot.pixelColor(box.center().x(), box.top()), kShadow);
        EXPECT_EQ(shot.pixelColor(box.center().x(), box.bottom()), kHighlight);
        EXPECT_EQ(shot.pixelColor(box.left(), box.top()), kShadow);
        EXPECT_EQ(shot.pixelColor(box.right(), box.bottom()), kHighlight);
    }
}

}  // namespace
}  // namespace qir
