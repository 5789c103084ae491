// What the list view and the tree view share: a view over a model of their own that paints only
// the rows in sight, single selection that tells the window only about the user's choices, and
// in-place editing of an item's label started by the program.
#pragma once

#include <QString>
#include <QTreeView>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

class LabelEditor;

// A key of a row or node: compares and hashes without regard to letter case, without a folded
// copy of the text. It views the key text its row or node holds, so a table of keys does not
// share, nor release, the texts; and it carries its hash, so a table that grows or probes past
// other keys does not read their texts.
class CaselessKey {
public:
    CaselessKey(QStringView text);
    friend bool operator==(const CaselessKey& a, const CaselessKey& b)
    {
        return a.hash == b.hash &&
               (a.text == b.text || a.text.compare(b.text, Qt::CaseInsensitive) == 0);
    }
    friend size_t qHash(const CaselessKey& key, size_t seed = 0) noexcept
    {
        return key.hash ^ seed;
    }

private:
    QStringView text;
    size_t hash;
};

class ItemView : public QTreeView {
public:
    explicit ItemView(QWidget* parent);

    bool IsEditingLabel() const;

    // The label edit ended with `newString`; setting `cancel` keeps the old label. The handler
    // may remove the edited item and add another.
    std::function<void(bool& cancel, const QString& newString)> AfterLabelEdit;

protected:
    // Shows `model`; called once, by the constructor of the view that owns the model.
    void SetItemModel(QAbstractItemModel* model);
    // The user selected the item at `index` (by mouse or keyboard); it is selected by then.
    virtual void UserSelected(const QModelIndex& index) = 0;
    // The user cannot take the selection from an item (Ctrl with a click or with Space, a click
    // below the items): a window that shows the selected record keeps it until another is chosen.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

    QModelIndex SelectedIndex() const;
    // Selects the item at `index` (none when invalid) without telling the window.
    void SelectQuietly(const QModelIndex& index);
    // Runs `change` to the items without telling the window of the selection changes it causes.
    void Quietly(const std::function<void()>& change);
    // Starts editing the label of the selected item. After AfterLabelEdit, unless cancelled,
    // `apply` is given the new text; it decides whether the item survived the handler.
    void StartLabelEditOfSelected(std::function<void(const QString&)> apply);

private:
    bool selectingByProgram = false;
    LabelEditor* labelEditor;
};

// The order of `texts` without regard to letter case, as positions into `texts`; texts that
// differ only in letter case keep their order.
std::vector<quint32> SortedOrder(const std::vector<QStringView>& texts, Qt::SortOrder order);

// Puts `items` in the order of the texts `textOf` gives them (views of texts the items hold),
// letter case ignored; items with equal texts keep their order.
template <typename Item, typename TextOf>
void SortByText(std::vector<std::unique_ptr<Item>>& items, TextOf textOf, Qt::SortOrder order)
{
    std::vector<QStringView> texts;
    texts.reserve(items.size());
    for (const auto& item : items)
        texts.push_back(textOf(*item));
    const std::vector<quint32> positions = SortedOrder(texts, order);
    std::vector<std::unique_ptr<Item>> sorted;
    sorted.reserve(items.size());
    for (const quint32 position : positions)
        sorted.push_back(std::move(items[position]));
    items.swap(sorted);
}

// Where an item whose text is `text` goes among `items`, which stand in the order SortByText
// gives them: after every item whose text sorts before it or equals it, letter case ignored.
template <typename Item, typename TextOf>
int SortedIndex(const std::vector<std::unique_ptr<Item>>& items, const QString& text, TextOf textOf,
                Qt::SortOrder order)
{
    const QString folded = text.toCaseFolded();
    const auto place =
        std::upper_bound(items.begin(), items.end(), folded,
                         [&](const QString& value, const std::unique_ptr<Item>& item) {
                             const int compared = value.compare(textOf(*item).toCaseFolded());
                             return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
                         });
    return int(place - items.begin());
}

} // namespace platform
