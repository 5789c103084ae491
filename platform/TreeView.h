// A tree view with keyed nodes: nodes added under a node given by key, kept in alphabetical
// order under a node whose Sorted flag is set, and in-place label editing started by the
// program. Node keys compare without regard to letter case, as record names do; look-ups by
// key take constant time.
#pragma once

#include "ItemView.h"

#include <functional>

namespace platform {

class TreeNode : public QTreeWidgetItem {
public:
    TreeNode(const QString& key, const QString& text);
    QString Key() const { return key; }
    QString Text() const { return text(0); }
    TreeNode* Parent() const { return static_cast<TreeNode*>(parent()); }
    int Children() const { return childCount(); }
    TreeNode* Child(int index) const { return static_cast<TreeNode*>(child(index)); }
    TreeNode* FirstChild() const { return Children() > 0 ? Child(0) : nullptr; }

private:
    friend class TreeView;
    QString key;
    bool sorted = false;
};

class TreeView : public ItemView {
public:
    explicit TreeView(QWidget* parent);

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
    TreeNode* Node(const QString& key) const { return nodesByKey.value(key.toCaseFolded()); }
    // Nodes by 1-based position, in the order they were added.
    TreeNode* Node(int position) const;
    // Keeps the children of `node` in alphabetical order of their texts, letter case ignored.
    void SetSorted(TreeNode* node, bool on);
    void SetExpanded(TreeNode* node, bool on) { node->setExpanded(on); }
    void EnsureVisible(TreeNode* node);

    // Selection; setting it by program raises no NodeClick.
    TreeNode* SelectedNode() const;
    void SetSelectedNode(TreeNode* node);

    void StartLabelEdit();

    // Events: the user selected a node; a node was collapsed.
    std::function<void(TreeNode* node)> NodeClick;
    std::function<void(TreeNode* node)> Collapse;

protected:
    void UserSelected(QTreeWidgetItem* item) override;

private:
    void Forget(TreeNode* node, QSet<TreeNode*>& removed);
    // Makes `node` known by its key and position.
    TreeNode* Remember(TreeNode* node);

    QHash<QString, TreeNode*> nodesByKey;
    QList<TreeNode*> nodesInOrder;
};

} // namespace platform
