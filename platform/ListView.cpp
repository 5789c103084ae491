#include "ListView.h"

#include "Twips.h"

#include <QHeaderView>

namespace platform {

namespace {
int CompareText(const QTreeWidgetItem& a, const QTreeWidgetItem& b, int column)
{
    return QString::compare(a.text(column), b.text(column), Qt::CaseInsensitive);
}
} // namespace

ListItem::ListItem(const QString& key, const QString& text) : key(key)
{
    setText(0, text);
}

void ListItem::SetSubItem(int k, const QString& text)
{
    setText(k, text);
}

bool ListItem::operator<(const QTreeWidgetItem& other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return CompareText(*this, other, column) < 0;
}

ListView::ListView(QWidget* parent) : ItemView(parent)
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setColumnCount(0);
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

void ListView::UserSelected(QTreeWidgetItem* item)
{
    if (ItemClick)
        ItemClick(static_cast<ListItem*>(item));
}

void ListView::AddColumn(const QString& header, const QString& key, Qt::Alignment alignment)
{
    const int column = columnCount();
    setColumnCount(column + 1);
    headerItem()->setText(column, header);
    headerItem()->setTextAlignment(column, alignment | Qt::AlignVCenter);
    columnKeys.append(key);
    columnTags.append(QString());
    columnAlignments.append(alignment);
}

QString ListView::ColumnHeader(int position) const
{
    return headerItem()->text(position - 1);
}
QString ListView::ColumnKey(int position) const
{
    return columnKeys.value(position - 1);
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
    return columnTags.value(position - 1);
}
void ListView::SetColumnTag(int position, const QString& tag)
{
    if (position >= 1 && position <= columnTags.size())
        columnTags[position - 1] = tag;
}

ListItem* ListView::Add(const QString& key, const QString& text)
{
    if (Item(key))
        return nullptr;
    auto* item = new ListItem(key, text);
    return Place(item, sorted ? SortedIndexFor(item) : Count());
}

ListItem* ListView::Insert(int position, const QString& key, const QString& text)
{
    if (Item(key))
        return nullptr;
    return Place(new ListItem(key, text), qBound(0, position - 1, Count()));
}

ListItem* ListView::Place(ListItem* item, int index)
{
    for (int column = 0; column < columnAlignments.size(); ++column)
        item->setTextAlignment(column, columnAlignments[column] | Qt::AlignVCenter);
    itemsByKey.insert(item->Key().toCaseFolded(), item);
    Quietly([&] { insertTopLevelItem(index, item); });
    return item;
}

int ListView::SortedIndexFor(const ListItem* item) const
{
    // Binary search for the first row that sorts after `item`.
    int low = 0, high = Count();
    while (low < high) {
        const int middle = (low + high) / 2;
        const int order = CompareText(*topLevelItem(middle), *item, sortKey);
        const bool after = sortOrder == Qt::AscendingOrder ? order > 0 : order < 0;
        if (after)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

bool ListView::Remove(const QString& key)
{
    ListItem* item = itemsByKey.take(key.toCaseFolded());
    if (!item)
        return false;
    const bool wasSelected = item == SelectedItem();
    const int index = indexOfTopLevelItem(item);
    Quietly([&] { delete takeTopLevelItem(index); });
    // The row that takes the removed row's place becomes the selected one.
    if (wasSelected)
        SelectQuietly(Item(qMin(index + 1, Count())));
    return true;
}

void ListView::Clear()
{
    Quietly([&] { clear(); });
    itemsByKey.clear();
}

ListItem* ListView::Item(int position) const
{
    return static_cast<ListItem*>(topLevelItem(position - 1));
}

int ListView::Position(const ListItem* item) const
{
    return indexOfTopLevelItem(const_cast<ListItem*>(item)) + 1;
}

void ListView::SetItemText(ListItem* item, const QString& text)
{
    item->setText(0, text);
    if (sorted && sortKey == 0) {
        const bool wasSelected = item->isSelected();
        Quietly([&] {
            takeTopLevelItem(indexOfTopLevelItem(item));
            insertTopLevelItem(SortedIndexFor(item), item);
        });
        if (wasSelected)
            SelectQuietly(item);
    }
}

ListItem* ListView::SelectedItem() const
{
    return static_cast<ListItem*>(SelectedTreeItem());
}

void ListView::SetSelectedItem(ListItem* item)
{
    SelectQuietly(item);
}

void ListView::EnsureVisible(ListItem* item)
{
    if (item)
        scrollToItem(item);
}

void ListView::SetSorted(bool on)
{
    sorted = on;
    if (on)
        sortItems(sortKey, sortOrder);
}

void ListView::StartLabelEdit()
{
    // The handler may have removed the row; only a row still in the list takes the text.
    StartLabelEditOfSelected([this, key = SelectedItem() ? SelectedItem()->Key() : QString()](
                                 QTreeWidgetItem* item) { return Item(key) == item; },
                             [this](QTreeWidgetItem* item, const QString& text) {
                                 SetItemText(static_cast<ListItem*>(item), text);
                             });
}

int ListView::OuterWidth() const
{
    return PixelsToTwipsX(width());
}

} // namespace platform
