// The routines the editors' lists and trees share: fitting list columns to their texts,
// sorting a list by a column with the direction toggled by repeated clicks, and filling a
// tree with the ingredient hierarchy.
#include "TestSupport.h"

#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"
#include "store/modCellarix.h"

#include <QTest>

#include <cmath>
#include <memory>
#include <numeric>

using namespace modCellarix;
using namespace TestSupport;

namespace {

// The width a column needs for `text`: its width as the toolbox measures it, in whole twips, and
// a margin of twenty pixels.
const auto Fitted = [](const QString& text) {
    const QFont font = frmMain::Instance()->picToolbox->font();
    return int(std::nearbyint(platform::TextWidthTwips(font, text))) +
           int(std::lround(20 * platform::TwipsPerPixelX()));
};

// A list `widthPixels` wide; each row gives its text and then its sub-items.
std::unique_ptr<platform::ListView> MakeList(int widthPixels, const QStringList& headers,
                                             const QList<QStringList>& rows)
{
    auto list = std::make_unique<platform::ListView>(nullptr);
    for (const QString& header : headers)
        list->AddColumn(header);
    for (const QStringList& row : rows)
        list->Add(row.first(), row);
    list->resize(widthPixels, 200);
    return list;
}

const QList<QStringList> Fruit = {{"banana", "2"}, {"Apple", "10"}, {"cherry", "1"}, {"Date", "3"}};

} // namespace

class TestListHelpers : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { frmMain::Destroy(); }
    void cleanup() { colIngredients.Clear(); }

    void autoSizeFitsOtherColumnsToTheirTextsGivesTheFirstTheRestAndFollowsChanges()
    {
        const QList<QStringList> rows = {{"Vodka Tonic", "2", "Highball glass, tall"},
                                         {"Gin", "12 1/2", "Tumbler"}};
        // "Total Ounces" is wider than its texts, "Glass" narrower than one of them.
        const int ounces = Fitted("Total Ounces");
        const int glass = Fitted("Highball glass, tall");
        const int priority = Fitted("Priority");
        // The widths of the columns after AutoSizeColumns; a 0 for the first column stands for
        // what the others leave of the list.
        const auto verify = [](int widthPixels, const QStringList& headers,
                               const QList<QStringList>& rows, QList<int> widths) {
            auto list = MakeList(widthPixels, headers, rows);
            AutoSizeColumns(list.get());
            if (widths[0] == 0)
                widths[0] =
                    list->OuterWidth() - 315 - std::accumulate(widths.begin() + 1, widths.end(), 0);
            for (int column = 1; column <= widths.size(); ++column)
                QCOMPARE(list->ColumnWidth(column), // as shown, in whole pixels
                         platform::PixelsToTwipsX(platform::TwipsToPixelsX(widths[column - 1])));
        };
        verify(600, {"Name", "Total Ounces", "Glass"}, rows, {0, ounces, glass});
        verify(500, {"A long first header", "Priority"}, {}, {0, priority});
        // Too narrow for the rest: the first column fits its widest row text, never its header,
        // or is twenty pixels wide without rows.
        verify(30, {"A first column header wider than every row", "Total Ounces", "Glass"}, rows,
               {Fitted("Vodka Tonic"), ounces, glass});
        verify(20, {"A long first header", "Priority"}, {}, {Fitted(""), priority});

        // After rows change, the widths are those of a list filled afresh with its rows; narrow,
        // so that the first column shows its widest text too.
        auto list = MakeList(30, {"Name", "Total Ounces"},
                             {{"Gin", "1 oz"}, {"Vodka Tonic", "12 1/2 oz"}, {"Rum", "2 oz"}});
        const auto verifyAfterChanges = [&] {
            AutoSizeColumns(list.get());
            QList<QStringList> current;
            for (int row = 1; row <= list->Count(); ++row)
                current << QStringList{list->Item(row)->Text(), list->Item(row)->SubItem(1)};
            auto fresh = MakeList(30, {"Name", "Total Ounces"}, current);
            AutoSizeColumns(fresh.get());
            for (int column = 1; column <= 2; ++column)
                QCOMPARE(list->ColumnWidth(column), fresh->ColumnWidth(column));
        };
        list->Insert(1, "Long Island Iced Tea", "Long Island Iced Tea")->SetSubItem(1, "3 oz");
        verifyAfterChanges(); // a wider row widens
        list->Add("Long Island Iced Tea 2", {"Long Island Iced Tea", "3 oz, shaken hard"});
        list->Remove("Long Island Iced Tea");
        verifyAfterChanges(); // another row as wide keeps the width; a wider sub-item widens
        list->Remove("Long Island Iced Tea 2");
        verifyAfterChanges(); // the last of the widest gone, the next one counts
        list->Item("Rum")->SetSubItem(1, "2 oz, then stirred well");
        verifyAfterChanges();
        list->Item("Rum")->SetSubItem(1, "2 oz");
        list->SetItemText(list->Item("Gin"), "Gin and a very long name");
        verifyAfterChanges();
        list->SetItemText(list->Item("Gin"), "G");
        verifyAfterChanges(); // the widest text made short, the next one counts
        list->Clear();
        list->Add("Soda", "Soda")->SetSubItem(1, "4 oz");
        verifyAfterChanges();
    }

    void sortByColumnTogglesTheSameColumnStartsOthersAscendingAndKeepsTheListSorted()
    {
        auto list = MakeList(300, {"Name", "Amount"}, Fruit);
        const QStringList ascending = {"Apple", "banana", "cherry", "Date"}; // case ignored
        // Sub-item texts compare as text, not as numbers: "10" before "2".
        const QStringList byAmount = {"cherry", "Apple", "banana", "Date"};
        const QStringList ascendingTags = {"ASC", ""};
        for (const auto& [column, reset, order, tags] :
             {std::tuple<int, bool, QStringList, QStringList>{1, false, ascending, ascendingTags},
              {1, false, {"Date", "cherry", "banana", "Apple"}, {"DSC", ""}},
              {1, false, ascending, ascendingTags},
              {1, true, ascending, ascendingTags}, // a reset is always ascending
              {2, false, byAmount, {"", "ASC"}},
              {1, false, ascending, ascendingTags},
              {2, false, byAmount, {"", "ASC"}},
              {2, false, {"Date", "banana", "Apple", "cherry"}, {"", "DSC"}},
              {1, true, ascending, ascendingTags}}) {
            SortByColumn(list.get(), column, reset);
            QCOMPARE(RowTexts(list.get()), order);
            QCOMPARE(QStringList({list->ColumnTag(1), list->ColumnTag(2)}), tags);
        }

        // While sorted, added and renamed rows take their place; inserted rows and sub-item
        // changes wait for the next sort.
        list->Add("Blueberry", "Blueberry");
        QCOMPARE(RowTexts(list.get()).join(' '), QString("Apple banana Blueberry cherry Date"));
        list->SetItemText(list->Item("Apple"), "elderberry");
        QCOMPARE(RowTexts(list.get()).join(' '),
                 QString("banana Blueberry cherry Date elderberry"));
        platform::ListItem* inserted = list->Insert(1, "Zucchini", "Zucchini");
        QCOMPARE(list->Item(1), inserted);

        SortByColumn(list.get(), 2, true);
        const QStringList sorted = RowTexts(list.get());
        list->Item(1)->SetSubItem(1, "99");
        QCOMPARE(RowTexts(list.get()), sorted);
    }

    void sortOrdersTextsUnitByUnitKeepsEqualOnesInOrderAndTheSelectionOnItsRow()
    {
        // Texts sharing long beginnings, differing in letter case, or ending in NUL characters
        // sort as comparing their case-folded units one by one would sort them; texts equal but
        // for letter case keep their order either way.
        const QString nul(QChar(0));
        const QStringList stems = {"", "ab", "abcdABCDabcd", "ab" + nul, "abcdabcdx"};
        const QStringList tails = {"", "a", "B", nul, "\u00e9", "\u00c9", "abcdE", "z" + nul + "z"};
        auto list = MakeList(300, {"Name"}, {});
        QStringList texts;
        for (const QString& stem : stems)
            for (const QString& tail : tails)
                for (const QString& end : tails) {
                    texts << stem + tail + end;
                    list->Add(QString::number(texts.size() - 1), texts.last());
                }
        platform::ListItem* const selected = list->Item(QString::number(100));
        list->SetSelectedItem(selected);
        for (const bool descending : {false, true}) {
            std::vector<int> expected(size_t(texts.size()));
            std::iota(expected.begin(), expected.end(), 0);
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                const int compared = texts[a].toCaseFolded().compare(texts[b].toCaseFolded());
                return descending ? compared > 0 : compared < 0;
            });
            SortByColumn(list.get(), 1, !descending);
            for (int row = 1; row <= list->Count(); ++row) {
                QCOMPARE(list->Item(row)->Key(), QString::number(expected[size_t(row - 1)]));
                QCOMPARE(list->Position(list->Item(row)), row);
            }
            QCOMPARE(list->SelectedItem(), selected);
        }
    }

    // The hierarchy below the categories is checked through the ingredient editor's tree.
    void fillIngredientTreeReplacesWhatItHeldAndLeavesOutOrphans()
    {
        // Ghost's parent does not exist.
        const QStringList names = {"Spirits", "mixers", "Vodka", "Ghost", "Bitters"};
        const QStringList parents = {"", "", "Spirits", "Nowhere", ""};
        for (int i = 0; i < names.size(); ++i) {
            auto ingredient = std::make_shared<Ingredient>();
            ingredient->SetName(names[i]);
            ingredient->SetParentItem(parents[i]);
            QVERIFY(colIngredients.Add(names[i], ingredient));
        }

        platform::TreeView tree(nullptr);
        FillIngredientTree(&tree);
        FillIngredientTree(&tree); // a second fill replaces the first
        QCOMPARE(tree.Count(), 5);
        QCOMPARE(ChildTexts(tree.Node("Ingredients")).join(' '), QString("Bitters mixers Spirits"));
        QCOMPARE(tree.Node("VODKA")->Parent(), tree.Node("spirits")); // keys ignore letter case

        colIngredients.Clear();
        FillIngredientTree(&tree);
        QCOMPARE(tree.Count(), 1);
        QCOMPARE(tree.Node(1)->Text(), QString("Ingredients"));
    }
};

QTEST_MAIN(TestListHelpers)
#include "test_listhelpers.moc"
