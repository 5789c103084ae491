#include "ItemView.h"

#include "LabelEditor.h"

namespace platform {

namespace {
char16_t Folded(QChar c)
{
    const char16_t unit = c.unicode();
    if (unit < 128)
        return unit >= 'A' && unit <= 'Z' ? char16_t(unit + 32) : unit;
    return c.toCaseFolded().unicode();
}
} // namespace

size_t qHash(const CaselessKey& key, size_t seed) noexcept
{
    // FNV-1a over the folded UTF-16 units, then mixed, since the table uses the low bits.
    quint64 hash = 14695981039346656037ULL ^ seed;
    for (const QChar c : key.text)
        hash = (hash ^ Folded(c)) * 1099511628211ULL;
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    return size_t(hash ^ (hash >> 33));
}

void AppendFolded(std::vector<char16_t>& out, const QString& text)
{
    for (const QChar c : text)
        out.push_back(Folded(c));
}

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
