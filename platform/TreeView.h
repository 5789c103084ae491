// A tree view with keyed nodes: nodes added under a node given by key, kept in alphabetical
// order under a node whose Sorted flag is set, and in-place label editing started by the
// program. Node keys compare without regard to letter case, as record names do; look-ups by
// key take constant time. The nodes live in a model of the tree's own; the view paints only
// those in sight.
#pragma once

#include "ItemView.h"

#include <QHash>

#include <functional>
#include <memory>
#include <vector>

namespace platform {

class TreeNode {
public:
    QString Key() const { return key; }
    const QString& Text() const { return text; }
    TreeNode* Parent() const { return parent; }
    int Children() const { return int(children.size()); }
    TreeNode* Child(int index) const
    {
        return (index < 0 || index >= Children()) ? nullptr : children[size_t(index)].get();
    }

private:
    friend class TreeView;
    TreeNode(const QString& key, const QString& text) : key(key), text(text) {}

    QString key;
    QString text;
    TreeNode* parent = nullptr;
    std::vector<std::unique_ptr<TreeNode>> children;
    int row = 0; // among its parent's children, kept up to date by the tree
    bool sorted = false;
};

class TreeView : public ItemView {
public:
    explicit TreeView(QWidget* parent);
    ~TreeView() override;

    // Adds a node under the node keyed `parentKey` (at the top when empty). Fails (null, tree
    // unchanged) when the key is taken or the parent is missing.
    TreeNode* Add(const QString& parentKey, const QString& key, const QString& text);
    // Adds `nodes` under the node keyed `parentKey` in one step, as one Add after the other
    // would; those whose key is taken are left out. Returns the nodes added.
    struct NewNode {
        QString key;
        QString text;
    };
    QList<TreeNode*> AddChildren(const QString& parentKey, const QList<NewNode>& nodes);
    // Removes the node and everything below it.
    bool Remove(const QString& key);
    void Clear();
    int Count() const { return int(nodesInOrder.size()); }
    TreeNode* Node(const QString& key) const { return nodesByKey.value({key}); }
    // Nodes by 1-based position, in the order they were added.
    TreeNode* Node(int position) const;
    // Keeps the children of `node` in alphabetical order of their texts, letter case ignored.
    void SetSorted(TreeNode* node, bool on);
    void SetExpanded(TreeNode* node, bool on) { setExpanded(IndexOf(node), on); }
    bool IsExpanded(const TreeNode* node) const { return isExpanded(IndexOf(node)); }
    void EnsureVisible(TreeNode* node);
    QModelIndex IndexOf(const TreeNode* node) const;

    // Selection; setting it by program raises no NodeClick.
    TreeNode* SelectedNode() const;
    void SetSelectedNode(TreeNode* node);

    void StartLabelEdit();

    // Events: the user selected a node; a node was collapsed.
    std::function<void(TreeNode* node)> NodeClick;
    std::function<void(TreeNode* node)> Collapse;

protected:
    void UserSelected(const QModelIndex& index) override;

private:
    class Model;

    std::vector<std::unique_ptr<TreeNode>>& ChildrenOf(TreeNode* parent);
    static void Renumber(std::vector<std::unique_ptr<TreeNode>>& nodes, size_t from);
    // Puts `nodes` under `parent` from `index` on.
    void PutChildren(TreeNode* parent, int index, std::vector<std::unique_ptr<TreeNode>> nodes);
    void Forget(const TreeNode* node, QSet<const TreeNode*>& removed);
    // Deletes every node and forgets it.
    void DeleteNodes();
    // Makes `node` known by its key and position; null (the node dropped) when its key is
    // taken.
    std::unique_ptr<TreeNode> Remember(std::unique_ptr<TreeNode> node);

    Model* itemModel;
    std::vector<std::unique_ptr<TreeNode>> topLevel;
    QHash<CaselessKey, TreeNode*> nodesByKey;
    std::vector<TreeNode*> nodesInOrder;
};

} // namespace platform
