// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stroke-count catalogue: a two-level tree of group labels and their characters, loaded
// from the stored block. A left click (press in the tree, release inside it) reports the
// selected node; moving the selection with the keyboard does not.

#include <QIcon>
#include <QList>
#include <QTreeWidget>
#include <optional>
#include <span>
#include <string>

#include "selection/catalogue_format.h"

namespace qir::selection {

// One node: its text as stored (GB2312 bytes) and its stored values.
class CatalogueNode : public QTreeWidgetItem {
  public:
    explicit CatalogueNode(const CatalogueNodeRecord& record);

    const std::string& bytes() const { return record_.text; }
    const CatalogueNodeRecord& record() const { return record_; }
    // The index of the image the node shows now: its stored selected-image index while
    // highlighted, otherwise what TreeView1GetImageIndex gives.
    int shownImageIndex() const;

    QVariant data(int column, int role) const override;

  private:
    CatalogueNodeRecord record_;  // children live in the tree, not here
};

class CatalogueTree : public QTreeWidget {
    Q_OBJECT
  public:
    // The images of ImageList1.
    enum NodeImage { ClosedFolder = 0, Page = 1, MinusBar = 2, OpenFolder = 3 };

    // Loads the stored catalogue.
    explicit CatalogueTree(QWidget* parent = nullptr);

    // Replaces the content with the nodes of `block`; throws StreamReadError when it is not a
    // valid block.
    void loadFromBlock(std::span<const unsigned char> block);

    // The four node images, in ImageList1's order; missing ones show nothing.
    void setNodeImages(QList<QIcon> images);
    QIcon nodeImage(int index) const;

    // The normal image of `node`: a page for a node without children, an open folder for an
    // expanded one, a closed folder for a collapsed one.
    static int TreeView1GetImageIndex(const QTreeWidgetItem& node);

    // The selected node's stored text, or nothing when no node is selected. The selected node
    // is the one clicked last (Ctrl+click may have taken its highlight away again).
    std::optional<std::string> selectedNodeText() const;

  signals:
    // A click in the tree: TreeView1Click runs on it.
    void clickedInTree();
    // Return or Enter on a character: it is shown as a click shows it. (Moving the selection
    // with the keyboard shows nothing.)
    void characterChosenByKey();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

  private:
    void expandOnlyTowards(QTreeWidgetItem* selected, QTreeWidgetItem* deselected);
    bool onLabelOrIcon(const QPoint& position) const;

    QList<QIcon> images_;
    bool pressedInTree_ = false;
    // The selection moved during a press; the branches follow at the release.
    bool expansionPending_ = false;
    QTreeWidgetItem* deselectedDuringPress_ = nullptr;
};

}  // namespace qir::selection
