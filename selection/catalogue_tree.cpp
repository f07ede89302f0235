// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection/catalogue_tree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <utility>
#include <vector>

#include "desktop/fonts.h"
#include "platform/gb2312.h"
#include "selection/catalogue_block.h"

namespace qir::selection {
namespace {

CatalogueNodeRecord withoutChildren(const CatalogueNodeRecord& record) {
    CatalogueNodeRecord copy = record;
    copy.children.clear();
    return copy;
}

std::vector<QTreeWidgetItem*> selfAndAncestors(QTreeWidgetItem* item) {
    std::vector<QTreeWidgetItem*> chain;
    for (; item != nullptr; item = item->parent()) {
        chain.push_back(item);
    }
    return chain;
}

}  // namespace

CatalogueNode::CatalogueNode(const CatalogueNodeRecord& record)
    : QTreeWidgetItem(UserType), record_(withoutChildren(record)) {
    setText(0, gb2312::toUnicode(record_.text));
}

int CatalogueNode::shownImageIndex() const {
    return isSelected() ? record_.selectedIndex : CatalogueTree::TreeView1GetImageIndex(*this);
}

QVariant CatalogueNode::data(int column, int role) const {
    if (role == Qt::DecorationRole && column == 0) {
        if (const auto* tree = qobject_cast<const CatalogueTree*>(treeWidget())) {
            return tree->nodeImage(shownImageIndex());
        }
    }
    return QTreeWidgetItem::data(column, role);
}

CatalogueTree::CatalogueTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    // The one column is as wide as its widest node, so a scroll bar appears only for a node
    // that does not fit.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setFont(kaitiFont());
    setIndentation(19);
    setRootIsDecorated(true);
    setIconSize(QSize(16, 16));
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    // The classic style draws the dotted lines between nodes and the boxed expand buttons.
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"))) {
        classic->setParent(this);
        setStyle(classic);
    }
    resize(114, 317);

    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
                // While the button is down the view still maps the press and release
                // positions to nodes, so the rows must not move until the release.
                if (pressedInTree_) {
                    if (!expansionPending_) {
                        expansionPending_ = true;
                        deselectedDuringPress_ = previous;
                    }
                    return;
                }
                expandOnlyTowards(current, previous);
            });
    loadFromBlock(storedCatalogueBlock());
}

void CatalogueTree::loadFromBlock(std::span<const unsigned char> block) {
    const std::vector<CatalogueNodeRecord> groups = decodeCatalogue(block);
    expansionPending_ = false;
    deselectedDuringPress_ = nullptr;
    clear();
    QList<QTreeWidgetItem*> topLevel;
    topLevel.reserve(static_cast<qsizetype>(groups.size()));
    for (const CatalogueNodeRecord& group : groups) {
        auto* node = new CatalogueNode(group);
        for (const CatalogueNodeRecord& character : group.children) {
            node->addChild(new CatalogueNode(character));
        }
        topLevel.append(node);
    }
    addTopLevelItems(topLevel);
}

void CatalogueTree::setNodeImages(QList<QIcon> images) {
    images_ = std::move(images);
    viewport()->update();
}

QIcon CatalogueTree::nodeImage(int index) const {
    return index >= 0 && index < images_.size() ? images_[index] : QIcon();
}

int CatalogueTree::TreeView1GetImageIndex(const QTreeWidgetItem& node) {
    if (node.childCount() == 0) {
        return Page;
    }
    return node.isExpanded() ? OpenFolder : ClosedFolder;
}

void CatalogueTree::keyPressEvent(QKeyEvent* event) {
    const bool returnKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QTreeWidgetItem* node = currentItem();
    if (returnKey && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        node != nullptr && node->childCount() == 0) {
        event->accept();
        emit characterChosenByKey();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

std::optional<std::string> CatalogueTree::selectedNodeText() const {
    if (const auto* node = dynamic_cast<const CatalogueNode*>(currentItem())) {
        return node->bytes();
    }
    return std::nullopt;
}

void CatalogueTree::expandOnlyTowards(QTreeWidgetItem* selected, QTreeWidgetItem* deselected) {
    // Single expansion: the branch that loses the selection folds up, except where it leads to
    // the newly selected node, which opens.
    const auto keep = selfAndAncestors(selected);
    for (QTreeWidgetItem* item : selfAndAncestors(deselected)) {
        if (std::find(keep.begin(), keep.end(), item) == keep.end()) {
            item->setExpanded(false);
        }
    }
    if (selected != nullptr) {
        selected->setExpanded(true);
    }
}

bool CatalogueTree::onLabelOrIcon(const QPoint& position) const {
    const QModelIndex index = indexAt(position);
    if (!index.isValid()) {
        return false;
    }
    const QRect cell = visualRect(index);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int width = itemDelegateForIndex(index)->sizeHint(option, index).width();
    return position.x() >= cell.left() && position.x() < cell.left() + width;
}

void CatalogueTree::mousePressEvent(QMouseEvent* event) {
    pressedInTree_ = event->button() == Qt::LeftButton;
    const QPoint position = event->position().toPoint();
    const QModelIndex index = indexAt(position);
    // Below the nodes and right of a label is empty space: a press there neither selects nor
    // deselects. The expand buttons lie left of the cell and stay the view's own.
    const bool emptySpace =
        !index.isValid() || (position.x() >= visualRect(index).left() && !onLabelOrIcon(position));
    // Only the left button selects.
    if (event->button() != Qt::LeftButton || emptySpace) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
}

void CatalogueTree::mouseMoveEvent(QMouseEvent* event) {
    // Dragging with the button held selects nothing more.
    if (event->buttons() & Qt::LeftButton) {
        event->accept();
        return;
    }
    QTreeWidget::mouseMoveEvent(event);
}

void CatalogueTree::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press too; its release clicks again.
    pressedInTree_ = event->button() == Qt::LeftButton;
    QTreeWidget::mouseDoubleClickEvent(event);
}

void CatalogueTree::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = event->button() == Qt::LeftButton && pressedInTree_ &&
                       viewport()->rect().contains(event->position().toPoint());
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        pressedInTree_ = false;
        if (std::exchange(expansionPending_, false)) {
            expandOnlyTowards(currentItem(), std::exchange(deselectedDuringPress_, nullptr));
        }
    }
    if (click) {
        emit clickedInTree();
    }
}

QItemSelectionModel::SelectionFlags CatalogueTree::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const {
    // Ctrl+click adds or removes a node; Shift selects no ranges.
    if (event != nullptr &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress)) {
        const auto* input = static_cast<const QInputEvent*>(event);
        if ((input->modifiers() & Qt::ShiftModifier) &&
            !(input->modifiers() & Qt::ControlModifier)) {
            return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
        }
    }
    return QTreeWidget::selectionCommand(index, event);
}

}  // namespace qir::selection
