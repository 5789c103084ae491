#include "ItemView.h"

#include "CaselessText.h"
#include "LabelEditor.h"

#include <algorithm>

namespace platform {

CaselessKey::CaselessKey(QStringView text) : text(text), hash(CaselessHash(text)) {}

namespace {
// A text as the sort sees it at one depth: four folded units from there, the first in the high
// bits and a missing one as 0, and how many units are left from there (5 standing for "more than
// four"). Comparing `chunk`, then `left`, orders texts that agree before the depth as their
// texts; entries equal in both stand for texts equal up to the depth + 4, and equal throughout
// unless `left` is 5.
struct SortEntry {
    quint64 chunk;
    quint32 left;
    quint32 position;
};
constexpr qsizetype ChunkUnits = 4;

// The texts lie scattered in memory: the one 16 entries on is asked for while this one is read.
void FetchAhead(const SortEntry* entry, const SortEntry* last,
                const std::vector<QStringView>& texts, qsizetype depth)
{
    if (last - entry > 16)
        __builtin_prefetch(texts[entry[16].position].data() + depth);
}

// How many folded units from `depth` on every text of [first, last) shares.
qsizetype SharedUnits(const SortEntry* first, const SortEntry* last,
                      const std::vector<QStringView>& texts, qsizetype depth)
{
    const QStringView model = texts[first->position];
    qsizetype shared = model.size() - depth;
    for (const SortEntry* entry = first + 1; entry != last && shared > 0; ++entry) {
        FetchAhead(entry, last, texts, depth);
        const QStringView text = texts[entry->position];
        qsizetype k = 0;
        while (k < shared && depth + k < text.size() &&
               FoldedUnit(text[depth + k]) == FoldedUnit(model[depth + k]))
            ++k;
        shared = k;
    }
    return std::max<qsizetype>(shared, 0);
}

// Sorts [first, last), whose texts agree up to `depth`, chunk by chunk: each run of entries
// whose chunks agree is sorted again on the units after them.
void SortRun(SortEntry* first, SortEntry* last, const std::vector<QStringView>& texts,
             qsizetype depth, bool descending)
{
    depth += SharedUnits(first, last, texts, depth);
    for (SortEntry* entry = first; entry != last; ++entry) {
        FetchAhead(entry, last, texts, depth);
        const QStringView text = texts[entry->position];
        quint64 chunk = 0;
        for (qsizetype k = depth; k < depth + ChunkUnits; ++k)
            chunk = chunk << 16 | (k < text.size() ? FoldedUnit(text[k]) : 0);
        entry->chunk = chunk;
        entry->left = quint32(std::clamp<qsizetype>(text.size() - depth, 0, ChunkUnits + 1));
    }
    // The entries come in the order of their positions; equal texts keep it.
    std::stable_sort(first, last, [descending](const SortEntry& a, const SortEntry& b) {
        if (a.chunk != b.chunk)
            return descending ? a.chunk > b.chunk : a.chunk < b.chunk;
        return descending ? a.left > b.left : a.left < b.left;
    });
    for (SortEntry* run = first; run != last;) {
        SortEntry* end = run + 1;
        while (end != last && end->chunk == run->chunk && end->left == run->left)
            ++end;
        if (end - run > 1 && run->left > ChunkUnits)
            SortRun(run, end, texts, depth + ChunkUnits, descending);
        run = end;
    }
}
} // namespace

std::vector<quint32> SortedOrder(const std::vector<QStringView>& texts, Qt::SortOrder order)
{
    std::vector<SortEntry> entries(texts.size());
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].position = quint32(i);
    if (!entries.empty())
        SortRun(entries.data(), entries.data() + entries.size(), texts, 0,
                order == Qt::DescendingOrder);
    std::vector<quint32> positions;
    positions.reserve(entries.size());
    for (const SortEntry& entry : entries)
        positions.push_back(entry.position);
    return positions;
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

QItemSelectionModel::SelectionFlags ItemView::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const
{
    const QItemSelectionModel::SelectionFlags command = QTreeView::selectionCommand(index, event);
    return !index.isValid() || command.testFlag(QItemSelectionModel::Deselect)
               ? QItemSelectionModel::NoUpdate
               : command;
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
