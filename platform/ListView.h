// A report-style list view: keyed rows with sub-items and Tags, columns with widths in twips and
// Tags, sorting by a column as text, insertion at a position, and in-place label editing started
// by the program. Row keys compare without regard to letter case, as record names do; look-ups
// by key take constant time. The rows live in a model of the list's own; the view paints only
// those in sight.
#pragma once

#include "ItemView.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace platform {

class ListView;

class ListItem {
public:
    QString Key() const { return key; }
    QString Text() const { return texts.value(0); }
    // Sub-item k shows in column k + 1.
    QString SubItem(int k) const { return texts.value(k); }
    void SetSubItem(int k, const QString& text);
    QVariant Tag;

private:
    friend class ListView;
    ListItem(ListView* list, const QString& key, const QStringList& texts);
    // The text of column `column` (0-based), empty when it was never set.
    const QString& ColumnText(int column) const;

    ListView* list;
    QString key;
    QList<QString> texts; // the row's own text, then its sub-items
    int row = 0;          // 0-based, kept up to date by the list
};

class ListView : public ItemView {
public:
    explicit ListView(QWidget* parent);
    ~ListView() override;

    // Columns, by 1-based position.
    void AddColumn(const QString& header, Qt::Alignment alignment = Qt::AlignLeft);
    int ColumnCount() const { return int(columns.size()); }
    QString ColumnHeader(int position) const;
    int ColumnWidth(int position) const; // twips
    void SetColumnWidth(int position, int twips);
    QString ColumnTag(int position) const;
    void SetColumnTag(int position, const QString& tag);
    // The width of the widest text in the column at `position` (the rows' own texts for 1,
    // sub-item position - 1 otherwise; the header not included), measured in `font`, in whole
    // twips (halves to even); 0 without rows. Once measured, the list keeps the answer up to
    // date as rows come, go and change, measuring only the changed row.
    int WidestText(int position, const QFont& font);

    // Rows. Adding fails (null, list unchanged) when the key is already present. While sorting
    // is on, a row added at the end, or whose text changes, takes its place in the order; a row
    // inserted at a position stays there until the next sort.
    ListItem* Add(const QString& key, const QString& text);
    // A row with its own text and its sub-items (`texts`), added in one step.
    ListItem* Add(const QString& key, const QStringList& texts);
    ListItem* Insert(int position, const QString& key, const QString& text);
    bool Remove(const QString& key);
    void Clear();
    int Count() const { return int(rows.size()); }
    ListItem* Item(const QString& key) const { return itemsByKey.value({key}); }
    ListItem* Item(int position) const;
    int Position(const ListItem* item) const { return item->row + 1; }
    void SetItemText(ListItem* item, const QString& text);
    QModelIndex IndexOf(const ListItem* item, int column = 0) const;

    // Selection; setting it by program raises no ItemClick.
    ListItem* SelectedItem() const;
    void SetSelectedItem(ListItem* item);
    void EnsureVisible(ListItem* item);

    // Sorting by a column's text, without regard to letter case; rows with equal texts keep
    // their order. Key 0 sorts by the rows' own text, k by sub-item k.
    void SetSorted(bool on);
    int SortKey() const { return sortKey; }
    void SetSortKey(int key) { sortKey = key; }
    Qt::SortOrder SortOrder() const { return sortOrder; }
    void SetSortOrder(Qt::SortOrder order) { sortOrder = order; }

    // Starts editing the selected row's text in place; AfterLabelEdit follows.
    void StartLabelEdit();

    int OuterWidth() const; // twips

    // Events. ItemClick: the user selected a row. ColumnClick: 1-based column position.
    std::function<void(ListItem* item)> ItemClick;
    std::function<void(int column)> ColumnClick;

protected:
    void UserSelected(const QModelIndex& index) override;

private:
    class Model;
    friend class ListItem;
    struct Column {
        QString header;
        QString tag;
        Qt::Alignment alignment;
        // While known (after a measuring pass, until the font changes): how many rows have a
        // text of each width.
        bool widthsKnown = false;
        std::map<int, int> rowsByWidth;
    };

    // Makes `item` known by its key and puts it at `index`.
    ListItem* Place(std::unique_ptr<ListItem> item, int index);
    void PutRow(std::unique_ptr<ListItem> item, int index);
    std::unique_ptr<ListItem> TakeRow(int index);
    int SortedIndexFor(const ListItem* item) const;
    void Sort();
    void Renumber(int from);
    // Keeps the known widths up to date when `item`'s text of column `column` (0-based) comes
    // (`arrives`) or goes.
    void TrackWidth(const ListItem* item, int column, bool arrives);
    void TextChanged(ListItem* item, int column, const QString& text);

    Model* itemModel;
    std::vector<std::unique_ptr<ListItem>> rows;
    QHash<CaselessKey, ListItem*> itemsByKey;
    std::vector<Column> columns;
    // What the known widths were measured in.
    QFont measuredFont;
    double measuredTwipsPerPixel = 0;
    std::unique_ptr<QFontMetricsF> metrics;
    bool sorted = false;
    int sortKey = 0;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
};

} // namespace platform
