// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/catalogue_tree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include "selection/character_selection.h"
#include "tests/selection/recording_steps.h"

namespace qir::selection {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kLu = "\xC2\xB6";  // 露, only child of "21画"

QIcon solidIcon(Qt::GlobalColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

// The tree wired to the sequences as the main window wires it.
class CatalogueTreeTest : public ::testing::Test {
  protected:
    CatalogueTree tree;
    testing::RecordingSteps recorder;
    CharacterSelection selection{recorder};
    QList<QIcon> images = {solidIcon(Qt::yellow), solidIcon(Qt::white), solidIcon(Qt::black),
                           solidIcon(Qt::darkYellow)};

    void SetUp() override {
        tree.setNodeImages(images);
        QObject::connect(&tree, &CatalogueTree::clickedInTree,
                         [this] { selection.TreeView1Click(tree.selectedNodeText()); });
        tree.show();
    }
    QTreeWidgetItem* group(int index) { return tree.topLevelItem(index); }
    // A click on the node's icon and label.
    void click(QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        tree.scrollToItem(item);
        const QRect cell = tree.visualItemRect(item);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, modifiers,
                          QPoint(cell.left() + 20, cell.center().y()));
    }
    int imageShown(QTreeWidgetItem* item) {
        const auto key = item->data(0, Qt::DecorationRole).value<QIcon>().cacheKey();
        for (int i = 0; i < images.size(); ++i) {
            if (key == images[i].cacheKey()) {
                return i;
            }
        }
        return -1;
    }
};

TEST_F(CatalogueTreeTest, LoadsTheCatalogueCollapsedWithNothingSelected) {
    ASSERT_EQ(tree.topLevelItemCount(), 22);
    int characters = 0;
    for (int i = 0; i < 22; ++i) {
        EXPECT_FALSE(group(i)->isExpanded());
        characters += group(i)->childCount();
    }
    EXPECT_EQ(characters, 1579);
    EXPECT_EQ(group(21)->text(0), QString::fromUtf8("23画"));
    EXPECT_EQ(tree.selectedNodeText(), std::nullopt);
    EXPECT_EQ(tree.indentation(), 19);
    EXPECT_EQ(QFontInfo(tree.font()).family(), QStringLiteral("AR PL KaitiM GB"));
}

TEST_F(CatalogueTreeTest, ImagesFollowChildrenExpansionAndSelection) {
    QTreeWidgetItem* six = group(5);
    EXPECT_EQ(imageShown(six), CatalogueTree::ClosedFolder);
    six->setExpanded(true);
    EXPECT_EQ(imageShown(six), CatalogueTree::OpenFolder);
    EXPECT_EQ(imageShown(six->child(0)), CatalogueTree::Page);
    // A highlighted node shows its stored selected image, the closed folder.
    six->child(0)->setSelected(true);
    EXPECT_EQ(imageShown(six->child(0)), CatalogueTree::ClosedFolder);
}

TEST_F(CatalogueTreeTest, ClicksOnCharactersShowThemAndOnGroupsClearTheCharacter) {
    click(group(5));
    click(group(5)->child(155));  // 羽, stored with its blank
    EXPECT_THAT(recorder.calls,
                ElementsAre("ShowAnimation \xD3\xF0 ", "ShowStrokeOrder \xD3\xF0 "));
    EXPECT_TRUE(group(5)->isExpanded());  // the selection's parent stays open

    recorder.calls.clear();
    QSignalSpy clicks(&tree, &CatalogueTree::clickedInTree);
    click(group(0));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(group(0)->isExpanded());
    EXPECT_FALSE(group(5)->isExpanded());  // single expansion
    EXPECT_EQ(selection.CurrentHanzi(), "");
    EXPECT_THAT(recorder.calls, IsEmpty());  // the display keeps the last character
}

TEST_F(CatalogueTreeTest, EmptySpaceRepeatsTheSelectedNodeOrDoesNothing) {
    tree.resize(114, 600);  // room below the collapsed groups
    const QPoint below(30, tree.viewport()->height() - 3);
    const QRect row = tree.visualItemRect(group(1));
    const QPoint rightOfLabel(tree.viewport()->width() - 3, row.center().y());
    ASSERT_EQ(tree.itemAt(below), nullptr);
    for (const QPoint& point : {below, rightOfLabel}) {
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, point);
    }
    EXPECT_THAT(recorder.calls, IsEmpty());
    EXPECT_EQ(tree.currentItem(), nullptr);

    click(group(20));
    click(group(20)->child(0));
    recorder.calls.clear();
    for (const QPoint& point : {below, rightOfLabel}) {
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, point);
    }
    EXPECT_THAT(recorder.calls, ElementsAre("ShowAnimation " + kLu, "ShowStrokeOrder " + kLu,
                                            "ShowAnimation " + kLu, "ShowStrokeOrder " + kLu));
    EXPECT_EQ(tree.selectedItems().size(), 1);
}

TEST_F(CatalogueTreeTest, OnlyALeftPressAndReleaseInTheTreeIsAClickNotTheKeyboard) {
    QSignalSpy clicks(&tree, &CatalogueTree::clickedInTree);
    const QRect cell = tree.visualItemRect(group(2));
    const QPoint inside(cell.left() + 20, cell.center().y());
    QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, inside);
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, QPoint(500, 500));
    EXPECT_EQ(tree.currentItem(), group(2));                           // the press selected at once
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, inside);  // no press before it
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, inside);
    QTest::keyClick(&tree, Qt::Key_Down);
    EXPECT_EQ(tree.currentItem(), group(2)->child(0));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(CatalogueTreeTest, ReturnShowsTheSelectedCharacterAsAClickDoesButArrowsShowNothing) {
    QObject::connect(&tree, &CatalogueTree::characterChosenByKey,
                     [this] { selection.TreeView1Click(tree.selectedNodeText()); });
    QSignalSpy chosen(&tree, &CatalogueTree::characterChosenByKey);
    tree.setFocus();
    tree.setCurrentItem(group(5));
    QTest::keyClick(&tree, Qt::Key_Return);  // a group label: nothing to show
    EXPECT_EQ(chosen.count(), 0);
    tree.setCurrentItem(group(5)->child(153));
    QTest::keyClick(&tree, Qt::Key_Down);
    QTest::keyClick(&tree, Qt::Key_Up);
    QTest::keyClick(&tree, Qt::Key_Down);
    QTest::keyClick(&tree, Qt::Key_Down);
    EXPECT_THAT(recorder.calls, IsEmpty());               // the arrow keys only move the selection
    ASSERT_EQ(tree.currentItem(), group(5)->child(155));  // 羽, stored with its blank
    QTest::keyClick(&tree, Qt::Key_Return);
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_THAT(recorder.calls,
                ElementsAre("ShowAnimation \xD3\xF0 ", "ShowStrokeOrder \xD3\xF0 "));
    QTest::keyClick(&tree, Qt::Key_Enter, Qt::KeypadModifier);  // the keypad's Enter as well
    EXPECT_EQ(chosen.count(), 2);
    QTest::keyClick(&tree, Qt::Key_Return, Qt::ControlModifier);  // not with a modifier
    EXPECT_EQ(chosen.count(), 2);
}

TEST_F(CatalogueTreeTest, CtrlClickAddsAndRemovesHighlightedNodes) {
    click(group(0));
    click(group(0)->child(0));
    click(group(1), Qt::ControlModifier);
    EXPECT_EQ(tree.selectedItems().size(), 2);
    EXPECT_EQ(tree.selectedNodeText(), std::string("2\xBB\xAD"));  // the one clicked last
    click(group(1), Qt::ControlModifier);
    EXPECT_EQ(tree.selectedItems().size(), 1);
    click(group(3), Qt::ShiftModifier);  // no ranges
    EXPECT_EQ(tree.selectedItems().size(), 1);
}

}  // namespace
}  // namespace qir::selection
