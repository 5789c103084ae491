#include "ItemView.h"

#include "LabelEditor.h"

namespace platform {

ItemView::ItemView(QWidget* parent) : QTreeWidget(parent), labelEditor(new LabelEditor(this))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (selectingByProgram || !current)
            return;
        // A mouse press makes the item current before it selects it; the handlers read the
        // selected item, so it is selected first.
        if (!current->isSelected())
            selectionModel()->select(indexFromItem(current), QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
        UserSelected(current);
    });
}

bool ItemView::IsEditingLabel() const
{
    return labelEditor->IsEditing();
}

QTreeWidgetItem* ItemView::SelectedTreeItem() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

void ItemView::Quietly(const std::function<void()>& change)
{
    const bool wasSelecting = selectingByProgram;
    selectingByProgram = true;
    change();
    selectingByProgram = wasSelecting;
}

void ItemView::SelectQuietly(QTreeWidgetItem* item)
{
    Quietly([&] {
        if (item) {
            setCurrentItem(item);
            item->setSelected(true);
        } else {
            clearSelection();
            setCurrentItem(nullptr);
        }
    });
}

void ItemView::StartLabelEditOfSelected(std::function<bool(QTreeWidgetItem*)> isStillThere,
                                        std::function<void(QTreeWidgetItem*, const QString&)> apply)
{
    QTreeWidgetItem* item = SelectedTreeItem();
    if (!item)
        return;
    labelEditor->Start(indexFromItem(item, 0), [=](const QString& newText) {
        bool cancel = false;
        if (AfterLabelEdit)
            AfterLabelEdit(cancel, newText);
        if (!cancel && isStillThere(item))
            apply(item, newText);
    });
}

} // namespace platform
