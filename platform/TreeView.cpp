#include "TreeView.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QSet>

#include <algorithm>

namespace platform {

namespace {
const QString& TextOf(const TreeNode& node)
{
    return node.Text();
}
} // namespace

// The nodes of a tree, as the view asks for them. An index points at its node.
class TreeView::Model : public QAbstractItemModel {
public:
    explicit Model(TreeView* tree) : QAbstractItemModel(tree), tree(tree) {}

    static TreeNode* NodeOf(const QModelIndex& index)
    {
        return static_cast<TreeNode*>(index.internalPointer());
    }
    QModelIndex IndexOf(const TreeNode* node) const
    {
        return node ? createIndex(node->row, 0, node) : QModelIndex();
    }

    QModelIndex index(int row, int column, const QModelIndex& parent) const override
    {
        const auto& children = tree->ChildrenOf(NodeOf(parent));
        if (column != 0 || row < 0 || size_t(row) >= children.size())
            return {};
        return createIndex(row, 0, children[size_t(row)].get());
    }
    QModelIndex parent(const QModelIndex& index) const override
    {
        return index.isValid() ? IndexOf(NodeOf(index)->parent) : QModelIndex();
    }
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.column() > 0 ? 0 : int(tree->ChildrenOf(NodeOf(parent)).size());
    }
    int columnCount(const QModelIndex&) const override { return 1; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (index.isValid() && (role == Qt::DisplayRole || role == Qt::EditRole))
            return NodeOf(index)->text;
        return {};
    }

    void BeginInsert(const TreeNode* parent, int first, int last)
    {
        beginInsertRows(IndexOf(parent), first, last);
    }
    void EndInsert() { endInsertRows(); }
    void BeginRemove(const TreeNode* parent, int row)
    {
        beginRemoveRows(IndexOf(parent), row, row);
    }
    void EndRemove() { endRemoveRows(); }
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }
    void Changed(const TreeNode* node) { emit dataChanged(IndexOf(node), IndexOf(node)); }
    // Runs `reorder`, which gives nodes new rows, keeping the view's selection, current node and
    // opened nodes on the same nodes.
    void Reorder(const std::function<void()>& reorder)
    {
        emit layoutAboutToBeChanged();
        const QModelIndexList before = persistentIndexList();
        reorder();
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& index : before)
            after.append(IndexOf(NodeOf(index)));
        changePersistentIndexList(before, after);
        emit layoutChanged();
    }

private:
    TreeView* tree;
};

TreeView::TreeView(QWidget* parent) : ItemView(parent), itemModel(new Model(this))
{
    SetItemModel(itemModel);
    setHeaderHidden(true);
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (Collapse)
            Collapse(Model::NodeOf(index));
        if (isExpanded(index))
            return;
        // A selected node the collapse hides gives the selection to the collapsed node, as the
        // user's choice: the window does not go on with a node out of sight.
        for (QModelIndex above = SelectedIndex().parent(); above.isValid(); above = above.parent())
            if (above == index) {
                setCurrentIndex(index);
                return;
            }
    });
}

TreeView::~TreeView()
{
    // The view lets go of the model before the nodes go.
    setModel(nullptr);
    DeleteNodes();
}

void TreeView::DeleteNodes()
{
    nodesByKey.clear(); // it views the nodes' key texts
    // In the order the nodes were added, which is about the order they lie in memory: following
    // the tree instead jumps all over it.
    for (TreeNode* node : nodesInOrder)
        for (auto& child : node->children)
            child.release();
    for (auto& node : topLevel)
        node.release();
    topLevel.clear();
    for (TreeNode* node : nodesInOrder)
        delete node;
    nodesInOrder.clear();
}

void TreeView::UserSelected(const QModelIndex& index)
{
    if (NodeClick)
        NodeClick(Model::NodeOf(index));
}

std::vector<std::unique_ptr<TreeNode>>& TreeView::ChildrenOf(TreeNode* parent)
{
    return parent ? parent->children : topLevel;
}

QModelIndex TreeView::IndexOf(const TreeNode* node) const
{
    return itemModel->IndexOf(node);
}

TreeNode* TreeView::Add(const QString& parentKey, const QString& key, const QString& text)
{
    if (parentKey.isEmpty()) {
        std::unique_ptr<TreeNode> made =
            key.isEmpty() ? nullptr : Remember(std::unique_ptr<TreeNode>(new TreeNode(key, text)));
        if (!made)
            return nullptr;
        TreeNode* node = made.get();
        std::vector<std::unique_ptr<TreeNode>> added;
        added.push_back(std::move(made));
        PutChildren(nullptr, int(topLevel.size()), std::move(added));
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
    std::vector<std::unique_ptr<TreeNode>> made;
    QList<TreeNode*> added;
    nodesByKey.reserve(nodesByKey.size() + nodes.size());
    for (const NewNode& wanted : nodes) {
        if (wanted.key.isEmpty())
            continue;
        if (auto node =
                Remember(std::unique_ptr<TreeNode>(new TreeNode(wanted.key, wanted.text)))) {
            added.append(node.get());
            made.push_back(std::move(node));
        }
    }
    if (parent->sorted && !parent->children.empty()) {
        // Each takes its place among the children already there.
        for (auto& node : made) {
            const int place = SortedIndex(parent->children, node->text, TextOf, Qt::AscendingOrder);
            std::vector<std::unique_ptr<TreeNode>> one;
            one.push_back(std::move(node));
            PutChildren(parent, place, std::move(one));
        }
        return added;
    }
    if (parent->sorted)
        SortByText(made, TextOf, Qt::AscendingOrder);
    if (!made.empty())
        PutChildren(parent, int(parent->children.size()), std::move(made));
    return added;
}

void TreeView::PutChildren(TreeNode* parent, int index,
                           std::vector<std::unique_ptr<TreeNode>> nodes)
{
    auto& children = ChildrenOf(parent);
    for (auto& node : nodes)
        node->parent = parent;
    Quietly([&] {
        itemModel->BeginInsert(parent, index, index + int(nodes.size()) - 1);
        children.insert(children.begin() + index, std::make_move_iterator(nodes.begin()),
                        std::make_move_iterator(nodes.end()));
        Renumber(children, size_t(index));
        itemModel->EndInsert();
    });
}

std::unique_ptr<TreeNode> TreeView::Remember(std::unique_ptr<TreeNode> node)
{
    TreeNode*& known = nodesByKey[{node->key}];
    if (known)
        return nullptr;
    known = node.get();
    nodesInOrder.push_back(node.get());
    return node;
}

void TreeView::Forget(const TreeNode* node, QSet<const TreeNode*>& removed)
{
    for (const auto& child : node->children)
        Forget(child.get(), removed);
    nodesByKey.remove({node->key});
    removed.insert(node);
}

bool TreeView::Remove(const QString& key)
{
    TreeNode* node = Node(key);
    if (!node)
        return false;
    QSet<const TreeNode*> removed;
    Forget(node, removed);
    if (node == nodesInOrder.back() && removed.size() == 1)
        nodesInOrder.pop_back();
    else
        nodesInOrder.erase(std::remove_if(nodesInOrder.begin(), nodesInOrder.end(),
                                          [&](const TreeNode* n) { return removed.contains(n); }),
                           nodesInOrder.end());
    auto& siblings = ChildrenOf(node->parent);
    const int row = node->row;
    Quietly([&] {
        itemModel->BeginRemove(node->parent, row);
        siblings.erase(siblings.begin() + row);
        Renumber(siblings, size_t(row));
        itemModel->EndRemove();
    });
    return true;
}

void TreeView::Clear()
{
    Quietly([&] {
        itemModel->BeginReset();
        DeleteNodes();
        itemModel->EndReset();
    });
}

TreeNode* TreeView::Node(int position) const
{
    return (position < 1 || position > Count()) ? nullptr : nodesInOrder[size_t(position - 1)];
}

void TreeView::SetSorted(TreeNode* node, bool on)
{
    node->sorted = on;
    if (!on || node->children.empty())
        return;
    Quietly([&] {
        itemModel->Reorder([&] {
            SortByText(node->children, TextOf, Qt::AscendingOrder);
            Renumber(node->children, 0);
        });
    });
}

void TreeView::EnsureVisible(TreeNode* node)
{
    for (TreeNode* parent = node->Parent(); parent; parent = parent->Parent())
        setExpanded(IndexOf(parent), true);
    scrollTo(IndexOf(node));
}

TreeNode* TreeView::SelectedNode() const
{
    return Model::NodeOf(SelectedIndex());
}

void TreeView::SetSelectedNode(TreeNode* node)
{
    SelectQuietly(IndexOf(node));
}

void TreeView::StartLabelEdit()
{
    TreeNode* edited = SelectedNode();
    StartLabelEditOfSelected(
        [this, edited, key = edited ? edited->Key() : QString()](const QString& text) {
            if (TreeNode* node = Node(key); node && node == edited) {
                node->text = text;
                itemModel->Changed(node);
            }
        });
}

void TreeView::Renumber(std::vector<std::unique_ptr<TreeNode>>& nodes, size_t from)
{
    for (size_t i = from; i < nodes.size(); ++i)
        nodes[i]->row = int(i);
}

} // namespace platform
