#include "ListView.h"

#include "Twips.h"

#include <QAbstractTableModel>
#include <QFontMetricsF>
#include <QHeaderView>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
int MeasureTwips(const QFontMetricsF& metrics, double twipsPerPixel, const QString& text)
{
    return text.isEmpty() ? 0
                          : int(std::nearbyint(metrics.horizontalAdvance(text) * twipsPerPixel));
}
} // namespace

// The rows and columns of a list, as the view asks for them.
class ListView::Model : public QAbstractTableModel {
public:
    explicit Model(ListView* list) : QAbstractTableModel(list), list(list) {}

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : list->Count();
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : list->ColumnCount();
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= list->Count())
            return {};
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return list->rows[size_t(index.row())]->SubItem(index.column());
        if (role == Qt::TextAlignmentRole)
            return AlignmentOf(index.column());
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= list->ColumnCount())
            return {};
        if (role == Qt::DisplayRole)
            return list->columns[size_t(section)].header;
        if (role == Qt::TextAlignmentRole)
            return AlignmentOf(section);
        return {};
    }

    void AddColumn()
    {
        beginInsertColumns(QModelIndex(), list->ColumnCount(), list->ColumnCount());
        endInsertColumns();
    }
    void BeginInsert(int index) { beginInsertRows(QModelIndex(), index, index); }
    void EndInsert() { endInsertRows(); }
    void BeginRemove(int first, int last) { beginRemoveRows(QModelIndex(), first, last); }
    void EndRemove() { endRemoveRows(); }
    void Changed(int row, int column) { emit dataChanged(index(row, column), index(row, column)); }
    // Runs `reorder`, which gives the rows their new numbers, keeping the view's selection and
    // current row on the same items.
    void Reorder(const std::function<void()>& reorder)
    {
        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList before = persistentIndexList();
        std::vector<const ListItem*> items;
        items.reserve(size_t(before.size()));
        for (const QModelIndex& index : before)
            items.push_back(list->rows[size_t(index.row())].get());
        reorder();
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            after.append(index(items[size_t(i)]->row, before[i].column()));
        changePersistentIndexList(before, after);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

private:
    QVariant AlignmentOf(int column) const
    {
        return QVariant::fromValue(list->columns[size_t(column)].alignment | Qt::AlignVCenter);
    }

    ListView* list;
};

ListItem::ListItem(ListView* list, const QString& key, const QStringList& texts)
    : list(list), key(key), texts(texts)
{
}

const QString& ListItem::ColumnText(int column) const
{
    static const QString none;
    return column >= 0 && column < texts.size() ? texts[column] : none;
}

void ListItem::SetSubItem(int k, const QString& text)
{
    list->TextChanged(this, k, text);
}

ListView::ListView(QWidget* parent) : ItemView(parent), itemModel(new Model(this))
{
    SetItemModel(itemModel);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    // A column may be as narrow as the program sets it (the style's minimum would widen it).
    header()->setMinimumSectionSize(0);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (ColumnClick)
            ColumnClick(section + 1);
    });
}

ListView::~ListView()
{
    // The view lets go of the model before the rows go.
    setModel(nullptr);
}

void ListView::UserSelected(const QModelIndex& index)
{
    if (ItemClick)
        ItemClick(rows[size_t(index.row())].get());
}

void ListView::AddColumn(const QString& header, Qt::Alignment alignment)
{
    Column column;
    column.header = header;
    column.alignment = alignment;
    columns.push_back(column);
    itemModel->AddColumn();
}

QString ListView::ColumnHeader(int position) const
{
    return (position < 1 || position > ColumnCount()) ? QString()
                                                      : columns[size_t(position - 1)].header;
}
int ListView::ColumnWidth(int position) const
{
    return PixelsToTwipsX(columnWidth(position - 1));
}
void ListView::SetColumnWidth(int position, int twips)
{
    setColumnWidth(position - 1, TwipsToPixelsX(twips));
}
QString ListView::ColumnTag(int position) const
{
    return (position < 1 || position > ColumnCount()) ? QString()
                                                      : columns[size_t(position - 1)].tag;
}
void ListView::SetColumnTag(int position, const QString& tag)
{
    if (position >= 1 && position <= ColumnCount())
        columns[size_t(position - 1)].tag = tag;
}

int ListView::WidestText(int position, const QFont& font)
{
    if (position < 1 || position > ColumnCount())
        return 0;
    const double twipsPerPixel = TwipsPerPixelX();
    if (!metrics || font != measuredFont || twipsPerPixel != measuredTwipsPerPixel) {
        measuredFont = font;
        measuredTwipsPerPixel = twipsPerPixel;
        metrics = std::make_unique<QFontMetricsF>(font);
        for (Column& column : columns)
            column.widthsKnown = false;
    }
    Column& column = columns[size_t(position - 1)];
    if (!column.widthsKnown) {
        // One measuring pass; a text that recurs (totals, priorities) is measured once.
        QHash<QString, int> measured;
        column.rowsByWidth.clear();
        for (const auto& item : rows) {
            const QString text = item->SubItem(position - 1);
            auto known = measured.constFind(text);
            if (known == measured.constEnd())
                known = measured.insert(text, MeasureTwips(*metrics, twipsPerPixel, text));
            ++column.rowsByWidth[*known];
        }
        column.widthsKnown = true;
    }
    return column.rowsByWidth.empty() ? 0 : column.rowsByWidth.rbegin()->first;
}

void ListView::TrackWidth(const ListItem* item, int column, bool arrives)
{
    if (column >= ColumnCount() || !columns[size_t(column)].widthsKnown)
        return;
    std::map<int, int>& rowsByWidth = columns[size_t(column)].rowsByWidth;
    const int width = MeasureTwips(*metrics, measuredTwipsPerPixel, item->SubItem(column));
    if (arrives) {
        ++rowsByWidth[width];
    } else {
        const auto counted = rowsByWidth.find(width);
        if (counted != rowsByWidth.end() && --counted->second == 0)
            rowsByWidth.erase(counted);
    }
}

void ListView::TextChanged(ListItem* item, int column, const QString& text)
{
    if (column < 0)
        return;
    TrackWidth(item, column, false);
    if (column >= item->texts.size())
        item->texts.resize(column + 1);
    item->texts[column] = text;
    TrackWidth(item, column, true);
    if (column < ColumnCount())
        itemModel->Changed(item->row, column);
}

ListItem* ListView::Add(const QString& key, const QString& text)
{
    return Add(key, QStringList{text});
}

ListItem* ListView::Add(const QString& key, const QStringList& texts)
{
    if (Item(key))
        return nullptr;
    std::unique_ptr<ListItem> item(new ListItem(this, key, texts));
    const int index = sorted ? SortedIndexFor(item.get()) : Count();
    return Place(std::move(item), index);
}

ListItem* ListView::Insert(int position, const QString& key, const QString& text)
{
    if (Item(key))
        return nullptr;
    return Place(std::unique_ptr<ListItem>(new ListItem(this, key, {text})),
                 qBound(0, position - 1, Count()));
}

ListItem* ListView::Place(std::unique_ptr<ListItem> item, int index)
{
    ListItem* placed = item.get();
    itemsByKey.insert({placed->key}, placed);
    for (int column = 0; column < ColumnCount(); ++column)
        TrackWidth(placed, column, true);
    PutRow(std::move(item), index);
    return placed;
}

void ListView::PutRow(std::unique_ptr<ListItem> item, int index)
{
    Quietly([&] {
        itemModel->BeginInsert(index);
        rows.insert(rows.begin() + index, std::move(item));
        Renumber(index);
        itemModel->EndInsert();
    });
}

std::unique_ptr<ListItem> ListView::TakeRow(int index)
{
    std::unique_ptr<ListItem> item;
    Quietly([&] {
        itemModel->BeginRemove(index, index);
        item = std::move(rows[size_t(index)]);
        rows.erase(rows.begin() + index);
        Renumber(index);
        itemModel->EndRemove();
    });
    return item;
}

void ListView::Renumber(int from)
{
    for (size_t i = size_t(from); i < rows.size(); ++i)
        rows[i]->row = int(i);
}

int ListView::SortedIndexFor(const ListItem* item) const
{
    return SortedIndex(
        rows, item->SubItem(sortKey), [this](const ListItem& row) { return row.SubItem(sortKey); },
        sortOrder);
}

void ListView::Sort()
{
    Quietly([&] {
        itemModel->Reorder([&] {
            SortByText(
                rows,
                [this](const ListItem& item) -> QStringView { return item.ColumnText(sortKey); },
                sortOrder);
            Renumber(0);
        });
    });
}

bool ListView::Remove(const QString& key)
{
    ListItem* item = itemsByKey.take({key});
    if (!item)
        return false;
    const bool wasSelected = item == SelectedItem();
    const int index = item->row;
    for (int column = 0; column < ColumnCount(); ++column)
        TrackWidth(item, column, false);
    TakeRow(index);
    // The row that takes the removed row's place becomes the selected one.
    if (wasSelected)
        SetSelectedItem(Item(qMin(index + 1, Count())));
    return true;
}

void ListView::Clear()
{
    // The table of keys views the rows' texts: it goes first.
    itemsByKey.clear();
    Quietly([&] {
        if (!rows.empty()) {
            itemModel->BeginRemove(0, Count() - 1);
            rows.clear();
            itemModel->EndRemove();
        }
    });
    // A list is refilled after a clear: one measuring pass over the new rows, when next asked,
    // costs less than following every row and text as it arrives.
    for (Column& column : columns) {
        column.widthsKnown = false;
        column.rowsByWidth.clear();
    }
}

ListItem* ListView::Item(int position) const
{
    return (position < 1 || position > Count()) ? nullptr : rows[size_t(position - 1)].get();
}

QModelIndex ListView::IndexOf(const ListItem* item, int column) const
{
    return item ? itemModel->index(item->row, column) : QModelIndex();
}

void ListView::SetItemText(ListItem* item, const QString& text)
{
    TextChanged(item, 0, text);
    if (sorted && sortKey == 0) {
        const bool wasSelected = item == SelectedItem();
        std::unique_ptr<ListItem> moved = TakeRow(item->row);
        PutRow(std::move(moved), SortedIndexFor(item));
        if (wasSelected)
            SetSelectedItem(item);
    }
}

ListItem* ListView::SelectedItem() const
{
    const QModelIndex index = SelectedIndex();
    return index.isValid() ? rows[size_t(index.row())].get() : nullptr;
}

void ListView::SetSelectedItem(ListItem* item)
{
    SelectQuietly(IndexOf(item));
}

void ListView::EnsureVisible(ListItem* item)
{
    if (item)
        scrollTo(IndexOf(item));
}

void ListView::SetSorted(bool on)
{
    sorted = on;
    if (on)
        Sort();
}

void ListView::StartLabelEdit()
{
    // The handler may have removed the row; only a row still in the list takes the text.
    ListItem* edited = SelectedItem();
    StartLabelEditOfSelected(
        [this, edited, key = edited ? edited->Key() : QString()](const QString& text) {
            if (ListItem* item = Item(key); item && item == edited)
                SetItemText(item, text);
        });
}

int ListView::OuterWidth() const
{
    return PixelsToTwipsX(width());
}

} // namespace platform
