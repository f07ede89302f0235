#include "selection/catalogue_tree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPainter>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include "platform/errors.h"
#include "platform/gb2312.h"
#include "selection/character_selection.h"
#include "tests/selection/recording_steps.h"

namespace qir::selection {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

QIcon solidIcon(Qt::GlobalColor colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

class CatalogueTreeTest : public ::testing::Test {
  protected:
    CatalogueTree tree;
    testing::RecordingSteps recorder;
    CharacterSelection selection{recorder.steps()};
    QList<QIcon> images = {solidIcon(Qt::yellow), solidIcon(Qt::white), solidIcon(Qt::black),
                           solidIcon(Qt::darkYellow)};

    void SetUp() override {
        tree.setNodeImages(images);
        // As the main window wires it: the click handler reads the selected node.
        QObject::connect(&tree, &CatalogueTree::clickedInTree,
                         [this] { selection.TreeView1Click(tree.selectedNodeText()); });
        tree.show();
    }

    QTreeWidgetItem* group(int index) { return tree.topLevelItem(index); }
    static std::string bytesOf(QTreeWidgetItem* item) {
        return static_cast<CatalogueNode*>(item)->bytes();
    }
    // A point on the node's icon and label.
    QPoint labelPoint(QTreeWidgetItem* item) {
        tree.scrollToItem(item);
        const QRect cell = tree.visualItemRect(item);
        return QPoint(cell.left() + 20, cell.center().y());
    }
    void click(QTreeWidgetItem* item, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, modifiers, labelPoint(item));
    }
    int imageShown(QTreeWidgetItem* item) {
        const auto icon = item->data(0, Qt::DecorationRole).value<QIcon>();
        for (int i = 0; i < images.size(); ++i) {
            if (icon.cacheKey() == images[i].cacheKey()) {
                return i;
            }
        }
        return -1;
    }
};

TEST_F(CatalogueTreeTest, LoadsTheStoredCatalogueCollapsedWithNothingSelected) {
    ASSERT_EQ(tree.topLevelItemCount(), 22);
    int characters = 0;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
        EXPECT_FALSE(group(i)->isExpanded());
        characters += group(i)->childCount();
    }
    EXPECT_EQ(characters, 1579);
    EXPECT_EQ(group(0)->text(0), QString::fromUtf8("1画"));
    EXPECT_EQ(group(21)->text(0), QString::fromUtf8("23画"));
    EXPECT_EQ(bytesOf(group(5)->child(155)), "\xD3\xF0 ");  // 羽 keeps its blank
    EXPECT_EQ(tree.selectedNodeText(), std::nullopt);
}

TEST_F(CatalogueTreeTest, AppearanceSettings) {
    EXPECT_EQ(tree.indentation(), 19);
    EXPECT_TRUE(tree.rootIsDecorated());
    EXPECT_EQ(tree.size(), QSize(114, 317));
    EXPECT_EQ(tree.font().pixelSize(), 15);
    EXPECT_EQ(QFontInfo(tree.font()).family(), QStringLiteral("AR PL KaitiM GB"));
    EXPECT_EQ(tree.selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(CatalogueTreeTest, ImagesFollowChildrenExpansionAndSelection) {
    QTreeWidgetItem* six = group(5);
    EXPECT_EQ(imageShown(six), CatalogueTree::ClosedFolder);
    six->setExpanded(true);
    EXPECT_EQ(imageShown(six), CatalogueTree::OpenFolder);
    EXPECT_EQ(imageShown(six->child(0)), CatalogueTree::Page);
    // A highlighted node shows its stored selected image, the closed folder, whatever it is.
    six->child(0)->setSelected(true);
    EXPECT_EQ(imageShown(six->child(0)), CatalogueTree::ClosedFolder);
    EXPECT_EQ(CatalogueTree::TreeView1GetImageIndex(*six->child(1)), CatalogueTree::Page);
}

TEST_F(CatalogueTreeTest, AClickOnAGroupExpandsItAndClearsTheCharacter) {
    click(group(1));
    click(group(1)->child(0));  // 八
    ASSERT_EQ(selection.CurrentHanzi(), "\xB0\xCB");
    recorder.calls.clear();

    QSignalSpy clicks(&tree, &CatalogueTree::clickedInTree);
    click(group(0));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(group(0)->isExpanded());
    EXPECT_FALSE(group(1)->isExpanded());  // single expansion
    EXPECT_EQ(selection.CurrentHanzi(), "");
    EXPECT_THAT(recorder.calls, IsEmpty());  // the display keeps the last character
}

TEST_F(CatalogueTreeTest, AClickOnACharacterShowsItAsStored) {
    click(group(0));
    click(group(0)->child(0));  // 一
    EXPECT_EQ(selection.CurrentHanzi(), "\xD2\xBB");
    EXPECT_THAT(recorder.calls, ElementsAre("ShowAnimation \xD2\xBB", "ShowStrokeOrder \xD2\xBB"));
    EXPECT_TRUE(group(0)->isExpanded());  // the parent of the selection stays open

    recorder.calls.clear();
    click(group(5));
    click(group(5)->child(155));
    EXPECT_EQ(selection.CurrentHanzi(), "\xD3\xF0 ");
    EXPECT_THAT(recorder.calls,
                ElementsAre("ShowAnimation \xD3\xF0 ", "ShowStrokeOrder \xD3\xF0 "));
    EXPECT_FALSE(group(0)->isExpanded());
}

TEST_F(CatalogueTreeTest, EmptySpaceRepeatsTheSelectedNodeOrDoesNothing) {
    tree.resize(114, 600);  // room below the collapsed groups
    const QPoint below(30, tree.viewport()->height() - 3);
    ASSERT_EQ(tree.itemAt(below), nullptr);
    const QRect row = tree.visualItemRect(group(1));
    const QPoint rightOfLabel(row.right() - 2, row.center().y());
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, below);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rightOfLabel);
    EXPECT_THAT(recorder.calls, IsEmpty());
    EXPECT_EQ(tree.currentItem(), nullptr);

    click(group(20));
    click(group(20)->child(0));  // 露
    recorder.calls.clear();
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, below);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rightOfLabel);
    EXPECT_THAT(recorder.calls, ElementsAre("ShowAnimation \xC2\xB6", "ShowStrokeOrder \xC2\xB6",
                                            "ShowAnimation \xC2\xB6", "ShowStrokeOrder \xC2\xB6"));
    EXPECT_EQ(tree.currentItem(), group(20)->child(0));
    EXPECT_EQ(tree.selectedItems().size(), 1);
}

TEST_F(CatalogueTreeTest, OnlyAPressAndReleaseInTheTreeIsAClick) {
    QSignalSpy clicks(&tree, &CatalogueTree::clickedInTree);
    const QPoint inside = labelPoint(group(2));
    QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, inside);
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, QPoint(500, 500));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(tree.currentItem(), group(2));                           // the press selected at once
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, inside);  // no press before it
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, labelPoint(group(4)));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(tree.currentItem(), group(2));  // the right button selects nothing
}

TEST_F(CatalogueTreeTest, KeyboardMovesTheSelectionWithoutAClick) {
    click(group(3));
    recorder.calls.clear();
    QSignalSpy clicks(&tree, &CatalogueTree::clickedInTree);
    QTest::keyClick(&tree, Qt::Key_Down);
    EXPECT_EQ(tree.currentItem(), group(3)->child(0));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_THAT(recorder.calls, IsEmpty());
}

TEST_F(CatalogueTreeTest, CtrlClickAddsAndRemovesHighlightedNodes) {
    click(group(0));
    click(group(0)->child(0));
    click(group(1), Qt::ControlModifier);
    EXPECT_EQ(tree.selectedItems().size(), 2);
    // The click handler reads the node clicked last.
    EXPECT_EQ(tree.selectedNodeText(), std::string("2\xBB\xAD"));
    click(group(1), Qt::ControlModifier);
    EXPECT_EQ(tree.selectedItems().size(), 1);
    // Shift selects no range.
    click(group(3), Qt::ShiftModifier);
    EXPECT_EQ(tree.selectedItems().size(), 1);
}

TEST_F(CatalogueTreeTest, RefusesADamagedBlockAndKeepsItsContent) {
    const std::vector<unsigned char> damaged = {22, 0, 0, 0, 28};
    EXPECT_THROW(tree.loadFromBlock(damaged), StreamReadError);
    EXPECT_EQ(tree.topLevelItemCount(), 22);
}

}  // namespace
}  // namespace qir::selection
