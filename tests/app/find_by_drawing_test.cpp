// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/find_by_drawing.h"

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidgetItemIterator>
#include <filesystem>
#include <memory>

#include "handwriting_pad/handwriting_pad.h"
#include "platform/gb2312.h"
#include "selection/catalogue_tree.h"
#include "selection/hanzi_edit.h"
#include "tests/app/form_fixture.h"
#include "tests/handwriting/made_up_characters.h"

namespace qir {
namespace {

using testing::FormFixture;

QAction* entryNamed(QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

class FindByDrawingTest : public ::testing::Test {
  protected:
    FindByDrawingTest() { testing::writeMadeUpTable(std::filesystem::current_path()); }

    handwriting_pad::HandwritingPad* pad() {
        return fixture.form().findChild<handwriting_pad::HandwritingPad*>();
    }

    FormFixture fixture;
};

TEST_F(FindByDrawingTest, TheInputBoxsMenuOpensThePadWhoseChoiceIsCommittedAsAnInputMethodWould) {
    auto* edit = fixture.control<selection::HanziEdit>("Edit1");
    const std::unique_ptr<QMenu> menu(edit->createFilteredContextMenu());
    QAction* find = entryNamed(*menu, handwriting_pad::findByDrawingText());
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(pad(), nullptr);  // made when first asked for, never at start-up
    find->trigger();
    QCoreApplication::processEvents();  // the entry runs once the menu's handler has returned
    ASSERT_NE(pad(), nullptr);
    EXPECT_TRUE(pad()->isVisible());
    EXPECT_TRUE(pad()->isWindow());
    // The learner draws once the characters to compare with are ready.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pad()->preparing(); }, 10000));

    for (const handwriting::Polyline& stroke :
         testing::drawnByHand(testing::mediansOf(testing::kDa))) {
        pad()->addStroke(stroke);
    }
    ASSERT_EQ(pad()->candidateButtons()[0]->text(), gb2312::toUnicode(testing::kDa));
    QTest::mouseClick(pad()->candidateButtons()[0], Qt::LeftButton);
    // The display sequence ran: the box holds it and it is the current character.
    EXPECT_EQ(edit->text(), gb2312::toUnicode(testing::kDa));
    EXPECT_EQ(fixture.form().CurrentHanzi(), testing::kDa);
    EXPECT_TRUE(pad()->isVisible());  // open for the next character

    // The next choice replaces the first, as a newly typed character does.
    for (const handwriting::Polyline& stroke :
         testing::drawnByHand(testing::mediansOf(testing::kShi))) {
        pad()->addStroke(stroke);
    }
    QTest::mouseClick(pad()->candidateButtons()[0], Qt::LeftButton);
    EXPECT_EQ(edit->text(), gb2312::toUnicode(testing::kShi));
    EXPECT_EQ(fixture.form().CurrentHanzi(), testing::kShi);
}

TEST_F(FindByDrawingTest, TheCataloguesMenuAndTheShortcutOpenItToo) {
    auto* tree = fixture.control<selection::CatalogueTree>("TreeView1");
    fixture.form().show();
    const auto menuAt = [&](QPoint at) -> QMenu* {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &event);
        const QList<QMenu*> menus = tree->findChildren<QMenu*>();
        return menus.isEmpty() ? nullptr : menus.back();
    };
    // On a group label.
    QTreeWidgetItem* group = tree->topLevelItem(0);
    ASSERT_NE(group, nullptr);
    QMenu* menu = menuAt(tree->visualItemRect(group).center());
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(entryNamed(*menu, handwriting_pad::findByDrawingText()), nullptr);
    menu->close();
    // On a character, below its own entries.
    tree->expandItem(group);
    QTreeWidgetItem* character = group->child(0);
    ASSERT_NE(character, nullptr);
    menu = menuAt(tree->visualItemRect(character).center());
    ASSERT_NE(menu, nullptr);
    QAction* find = entryNamed(*menu, handwriting_pad::findByDrawingText());
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(menu->actions().back(), find);
    find->trigger();
    QCoreApplication::processEvents();
    ASSERT_NE(pad(), nullptr);
    EXPECT_TRUE(pad()->isVisible());
    pad()->close();

    fixture.form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fixture.form()));
    auto* edit = fixture.control<QWidget>("Edit1");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(pad()->isVisible());
}

}  // namespace
}  // namespace qir
