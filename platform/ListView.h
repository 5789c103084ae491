// A report-style list view: keyed rows with sub-items and Tags, columns with keys, widths in
// twips and Tags, sorting by a column as text, insertion at a position, and in-place label
// editing started by the program. Row keys compare without regard to letter case, as record
// names do; look-ups by key take constant time.
#pragma once

#include "ItemView.h"

#include <QVariant>

#include <functional>

namespace platform {

class ListItem : public QTreeWidgetItem {
public:
    ListItem(const QString& key, const QString& text);
    QString Key() const { return key; }
    QString Text() const { return text(0); }
    // Sub-item k shows in column k + 1.
    QString SubItem(int k) const { return text(k); }
    void SetSubItem(int k, const QString& text);
    QVariant Tag;

    bool operator<(const QTreeWidgetItem& other) const override;

private:
    QString key;
};

class ListView : public ItemView {
public:
    explicit ListView(QWidget* parent);

    // Columns, by 1-based position.
    void AddColumn(const QString& header, const QString& key = QString(),
                   Qt::Alignment alignment = Qt::AlignLeft);
    int ColumnCount() const { return columnCount(); }
    QString ColumnHeader(int position) const;
    QString ColumnKey(int position) const;
    int ColumnWidth(int position) const; // twips
    void SetColumnWidth(int position, int twips);
    QString ColumnTag(int position) const;
    void SetColumnTag(int position, const QString& tag);

    // Rows. Adding fails (null, list unchanged) when the key is already present. While sorting
    // is on, a row added at the end, or whose text changes, takes its place in the order; a row
    // inserted at a position stays there until the next sort.
    ListItem* Add(const QString& key, const QString& text);
    ListItem* Insert(int position, const QString& key, const QString& text);
    bool Remove(const QString& key);
    void Clear();
    int Count() const { return topLevelItemCount(); }
    ListItem* Item(const QString& key) const { return itemsByKey.value(key.toCaseFolded()); }
    ListItem* Item(int position) const;
    int Position(const ListItem* item) const;
    void SetItemText(ListItem* item, const QString& text);

    // Selection; setting it by program raises no ItemClick.
    ListItem* SelectedItem() const;
    void SetSelectedItem(ListItem* item);
    void EnsureVisible(ListItem* item);

    // Sorting by a column's text, without regard to letter case. Key 0 sorts by the rows' own
    // text, k by sub-item k.
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
    void UserSelected(QTreeWidgetItem* item) override;

private:
    ListItem* Place(ListItem* item, int index);
    int SortedIndexFor(const ListItem* item) const;

    QHash<QString, ListItem*> itemsByKey;
    QStringList columnKeys;
    QStringList columnTags;
    QList<Qt::Alignment> columnAlignments;
    bool sorted = false;
    int sortKey = 0;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
};

} // namespace platform
