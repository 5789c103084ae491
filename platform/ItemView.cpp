#include "ItemView.h"

#include "LabelEditor.h"

namespace platform {

ItemView::ItemView(QWidget* parent) : QTreeView(parent), labelEditor(new LabelEditor(this))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
}

void ItemView::SetItemModel(QAbstractItemModel* model)
{
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (selectingByProgram || !current.isValid())
                    return;
                // A mouse press makes the item current before it selects it; the handlers read
                // the selected item, so it is selected first.
                if (!selectionModel()->isSelected(current))
                    selectionModel()->select(current, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
                UserSelected(current.siblingAtColumn(0));
            });
}

bool ItemView::IsEditingLabel() const
{
    return labelEditor->IsEditing();
}

QModelIndex ItemView::SelectedIndex() const
{
    const QItemSelection selection = selectionModel()->selection();
    return selection.isEmpty() ? QModelIndex()
                               : QModelIndex(selection.first().topLeft()).siblingAtColumn(0);
}

void ItemView::Quietly(const std::function<void()>& change)
{
    const bool wasSelecting = selectingByProgram;
    selectingByProgram = true;
    change();
    selectingByProgram = wasSelecting;
}

void ItemView::SelectQuietly(const QModelIndex& index)
{
    Quietly([&] {
        if (index.isValid()) {
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
        } else {
            selectionModel()->clearSelection();
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        }
    });
}

void ItemView::StartLabelEditOfSelected(std::function<void(const QString&)> apply)
{
    const QModelIndex index = SelectedIndex();
    if (!index.isValid())
        return;
    labelEditor->Start(index, [this, apply = std::move(apply)](const QString& newText) {
        bool cancel = false;
        if (AfterLabelEdit)
            AfterLabelEdit(cancel, newText);
        if (!cancel)
            apply(newText);
    });
}

} // namespace platform
