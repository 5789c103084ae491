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
// copy of the text.
struct CaselessKey {
    QString text;
    friend bool operator==(const CaselessKey& a, const CaselessKey& b)
    {
        return a.text.compare(b.text, Qt::CaseInsensitive) == 0;
    }
};
size_t qHash(const CaselessKey& key, size_t seed = 0) noexcept;

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

// Appends `text` to `out` with letter case folded, unit by unit.
void AppendFolded(std::vector<char16_t>& out, const QString& text);

// Puts `items` in the order of the texts `textOf` gives them, letter case ignored: each text is
// folded once into one buffer, an array of positions is sorted, and items with equal texts keep
// their order.
template <typename Item, typename TextOf>
void SortByText(std::vector<std::unique_ptr<Item>>& items, TextOf textOf, Qt::SortOrder order)
{
    std::vector<char16_t> folded;
    std::vector<size_t> starts;
    starts.reserve(items.size() + 1);
    for (const auto& item : items) {
        starts.push_back(folded.size());
        AppendFolded(folded, textOf(*item));
    }
    starts.push_back(folded.size());
    const auto key = [&](size_t i) {
        return QStringView(folded.data() + starts[i], qsizetype(starts[i + 1] - starts[i]));
    };
    std::vector<size_t> positions(items.size());
    for (size_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    std::sort(positions.begin(), positions.end(), [&](size_t a, size_t b) {
        const int compared = key(a).compare(key(b));
        if (compared != 0)
            return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
        return a < b; // equal texts keep their order
    });
    std::vector<std::unique_ptr<Item>> sorted;
    sorted.reserve(items.size());
    for (const size_t position : positions)
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
