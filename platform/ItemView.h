// What the list view and the tree view share: single selection that tells the window only
// about the user's choices, and in-place editing of an item's label started by the program.
#pragma once

#include <QTreeWidget>

#include <functional>

namespace platform {

class LabelEditor;

class ItemView : public QTreeWidget {
public:
    explicit ItemView(QWidget* parent);

    bool IsEditingLabel() const;

    // The label edit ended with `newString`; setting `cancel` keeps the old label. The handler
    // may remove the edited item and add another.
    std::function<void(bool& cancel, const QString& newString)> AfterLabelEdit;

protected:
    // The user selected `item` (by mouse or keyboard); it is selected by then.
    virtual void UserSelected(QTreeWidgetItem* item) = 0;

    QTreeWidgetItem* SelectedTreeItem() const;
    // Selects `item` (none when null) without telling the window.
    void SelectQuietly(QTreeWidgetItem* item);
    // Runs `change` to the items without telling the window of the selection changes it causes.
    void Quietly(const std::function<void()>& change);
    // Starts editing the label of the selected item. After AfterLabelEdit, `isStillThere` tells
    // whether the item survived the handler; only then does `apply` give it the new text.
    void StartLabelEditOfSelected(std::function<bool(QTreeWidgetItem*)> isStillThere,
                                  std::function<void(QTreeWidgetItem*, const QString&)> apply);

private:
    bool selectingByProgram = false;
    LabelEditor* labelEditor;
};

} // namespace platform
