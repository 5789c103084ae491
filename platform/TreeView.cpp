#include "TreeView.h"

#include "LabelEditor.h"

#include <QHeaderView>

#include <algorithm>

namespace platform {

namespace {
bool SortsBefore(const QTreeWidgetItem* a, const QTreeWidgetItem* b)
{
    return QString::compare(a->text(0), b->text(0), Qt::CaseInsensitive) < 0;
}
} // namespace

TreeNode::TreeNode(const QString& key, const QString& text) : key(key)
{
    setText(0, text);
}

TreeView::TreeView(QWidget* parent) : QTreeWidget(parent), labelEditor(new LabelEditor(this))
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (selectingByProgram || !current || !NodeClick)
            return;
        // A mouse press makes the node current before it selects it; the handlers read the
        // selected node, so it is selected first.
        if (!current->isSelected())
            selectionModel()->select(indexFromItem(current), QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
        NodeClick(static_cast<TreeNode*>(current));
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (Collapse)
            Collapse(static_cast<TreeNode*>(item));
    });
}

TreeNode* TreeView::Add(const QString& parentKey, const QString& key, const QString& text)
{
    if (key.isEmpty() || Node(key))
        return nullptr;
    TreeNode* parent = nullptr;
    if (!parentKey.isEmpty() && !(parent = Node(parentKey)))
        return nullptr;
    auto* node = new TreeNode(key, text);
    const bool wasSelecting = selectingByProgram;
    selectingByProgram = true;
    if (parent) {
        int index = parent->childCount();
        if (parent->sorted) {
            // First child that sorts after the new node.
            int low = 0;
            while (low < index) {
                const int middle = (low + index) / 2;
                if (SortsBefore(node, parent->child(middle)))
                    index = middle;
                else
                    low = middle + 1;
            }
        }
        parent->insertChild(index, node);
    } else {
        addTopLevelItem(node);
    }
    selectingByProgram = wasSelecting;
    nodesByKey.insert(key.toCaseFolded(), node);
    nodesInOrder.append(node);
    return node;
}

void TreeView::Forget(TreeNode* node, QSet<TreeNode*>& removed)
{
    for (int i = 0; i < node->childCount(); ++i)
        Forget(node->Child(i), removed);
    nodesByKey.remove(node->key.toCaseFolded());
    removed.insert(node);
}

bool TreeView::Remove(const QString& key)
{
    TreeNode* node = Node(key);
    if (!node)
        return false;
    QSet<TreeNode*> removed;
    Forget(node, removed);
    if (node == nodesInOrder.last() && removed.size() == 1)
        nodesInOrder.removeLast();
    else
        nodesInOrder.erase(std::remove_if(nodesInOrder.begin(), nodesInOrder.end(),
                                          [&](TreeNode* n) { return removed.contains(n); }),
                           nodesInOrder.end());
    selectingByProgram = true;
    delete node;
    selectingByProgram = false;
    return true;
}

void TreeView::Clear()
{
    selectingByProgram = true;
    clear();
    selectingByProgram = false;
    nodesByKey.clear();
    nodesInOrder.clear();
}

TreeNode* TreeView::Node(int position) const
{
    return (position < 1 || position > Count()) ? nullptr : nodesInOrder.at(position - 1);
}

void TreeView::SetSorted(TreeNode* node, bool on)
{
    node->sorted = on;
    if (on)
        node->sortChildren(0, Qt::AscendingOrder);
}

void TreeView::EnsureVisible(TreeNode* node)
{
    for (TreeNode* parent = node->Parent(); parent; parent = parent->Parent())
        parent->setExpanded(true);
    scrollToItem(node);
}

TreeNode* TreeView::SelectedNode() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : static_cast<TreeNode*>(selected.first());
}

void TreeView::SetSelectedNode(TreeNode* node)
{
    selectingByProgram = true;
    if (node) {
        setCurrentItem(node);
        node->setSelected(true);
    } else {
        clearSelection();
        setCurrentItem(nullptr);
    }
    selectingByProgram = false;
}

void TreeView::StartLabelEdit()
{
    TreeNode* node = SelectedNode();
    if (!node)
        return;
    const QString key = node->Key();
    labelEditor->Start(indexFromItem(node, 0), [this, key, node](const QString& newText) {
        bool cancel = false;
        if (AfterLabelEdit)
            AfterLabelEdit(cancel, newText);
        if (!cancel && Node(key) == node)
            node->setText(0, newText);
    });
}

bool TreeView::IsEditingLabel() const
{
    return labelEditor->IsEditing();
}

} // namespace platform
