#include "TreeView.h"

#include <QHeaderView>

#include <algorithm>
#include <vector>

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

TreeView::TreeView(QWidget* parent) : ItemView(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        if (Collapse)
            Collapse(static_cast<TreeNode*>(item));
    });
}

void TreeView::UserSelected(QTreeWidgetItem* item)
{
    if (NodeClick)
        NodeClick(static_cast<TreeNode*>(item));
}

TreeNode* TreeView::Add(const QString& parentKey, const QString& key, const QString& text)
{
    if (parentKey.isEmpty()) {
        if (key.isEmpty() || Node(key))
            return nullptr;
        TreeNode* node = Remember(new TreeNode(key, text));
        Quietly([&] { addTopLevelItem(node); });
        return node;
    }
    const QList<TreeNode*> added = AddChildren(parentKey, {{key, text}});
    return added.isEmpty() ? nullptr : added.first();
}

QList<TreeNode*> TreeView::AddChildren(const QString& parentKey, const QList<NewNode>& nodes)
{
    TreeNode* parent = Node(parentKey);
    if (!parent)
        return {};
    QList<TreeNode*> added;
    for (const NewNode& wanted : nodes)
        if (!wanted.key.isEmpty() && !Node(wanted.key))
            added.append(Remember(new TreeNode(wanted.key, wanted.text)));
    if (parent->sorted && parent->childCount() > 0) {
        // Each takes its place among the children already there.
        for (TreeNode* node : added) {
            int low = 0, high = parent->childCount();
            while (low < high) {
                const int middle = (low + high) / 2;
                if (SortsBefore(node, parent->child(middle)))
                    high = middle;
                else
                    low = middle + 1;
            }
            Quietly([&] { parent->insertChild(low, node); });
        }
        return added;
    }
    QList<QTreeWidgetItem*> items(added.begin(), added.end());
    if (parent->sorted) {
        // Sorted by their folded texts, each folded once: the same order as SortsBefore.
        std::vector<std::pair<QString, QTreeWidgetItem*>> byText;
        byText.reserve(size_t(items.size()));
        for (QTreeWidgetItem* item : items)
            byText.emplace_back(item->text(0).toCaseFolded(), item);
        std::stable_sort(byText.begin(), byText.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (qsizetype i = 0; i < items.size(); ++i)
            items[i] = byText[size_t(i)].second;
    }
    Quietly([&] { parent->addChildren(items); });
    return added;
}

TreeNode* TreeView::Remember(TreeNode* node)
{
    nodesByKey.insert(node->key.toCaseFolded(), node);
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
    Quietly([&] { delete node; });
    return true;
}

void TreeView::Clear()
{
    Quietly([&] { clear(); });
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
    return static_cast<TreeNode*>(SelectedTreeItem());
}

void TreeView::SetSelectedNode(TreeNode* node)
{
    SelectQuietly(node);
}

void TreeView::StartLabelEdit()
{
    StartLabelEditOfSelected(
        [this, key = SelectedNode() ? SelectedNode()->Key() : QString()](QTreeWidgetItem* node) {
            return Node(key) == node;
        },
        [](QTreeWidgetItem* node, const QString& text) { node->setText(0, text); });
}

} // namespace platform
