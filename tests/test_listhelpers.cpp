// The routines the editors' lists and trees share: fitting list columns to their texts,
// sorting a list by a column with the direction toggled by repeated clicks, and filling a
// tree with the ingredient hierarchy.
#include "app/frmMain.h"
#include "app/modCellarix.h"
#include "platform/Fonts.h"
#include "platform/ListView.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"

#include <QTest>
#include <QWidget>

#include <cmath>
#include <memory>

using namespace modCellarix;

namespace {

// Text widths as the toolbox measures them, in whole twips.
int Measure(const QString& text)
{
    return int(
        std::nearbyint(platform::TextWidthTwips(frmMain::Instance()->picToolbox->font(), text)));
}
int Margin()
{
    return int(std::lround(20 * platform::TwipsPerPixelX()));
}
// A width in twips as the list shows it, in whole pixels.
int Shown(int twips)
{
    return platform::PixelsToTwipsX(platform::TwipsToPixelsX(twips));
}

// A list `widthPixels` wide; each row gives its text and then its sub-items.
std::unique_ptr<platform::ListView> MakeList(int widthPixels, const QStringList& headers,
                                             const QList<QStringList>& rows)
{
    auto list = std::make_unique<platform::ListView>(nullptr);
    for (const QString& header : headers)
        list->AddColumn(header);
    for (const QStringList& row : rows) {
        platform::ListItem* item = list->Add(row.first(), row.first());
        for (int k = 1; k < row.size(); ++k)
            item->SetSubItem(k, row.at(k));
    }
    list->resize(widthPixels, 200);
    return list;
}

QStringList Order(const platform::ListView& list)
{
    QStringList texts;
    for (int row = 1; row <= list.Count(); ++row)
        texts << list.Item(row)->Text();
    return texts;
}

QStringList Tags(const platform::ListView& list)
{
    QStringList tags;
    for (int column = 1; column <= list.ColumnCount(); ++column)
        tags << list.ColumnTag(column);
    return tags;
}

const QList<QStringList> Fruit = {{"banana", "2"}, {"Apple", "10"}, {"cherry", "1"}, {"Date", "3"}};

} // namespace

class TestListHelpers : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { frmMain::Destroy(); }
    void cleanup() { colIngredients.Clear(); }

    void autoSizeWithRowsFitsOtherColumnsToWidestTextIncludingHeader()
    {
        const QList<QStringList> rows = {{"Vodka Tonic", "2", "Highball glass, tall"},
                                         {"Gin", "12 1/2", "Tumbler"}};
        // "Total Ounces" is wider than its texts; "Glass" narrower than one of its texts.
        QVERIFY(Measure("Total Ounces") > Measure("12 1/2"));
        QVERIFY(Measure("Glass") < Measure("Highball glass, tall"));
        const int w2 = Measure("Total Ounces") + Margin();
        const int w3 = Measure("Highball glass, tall") + Margin();

        auto wide = MakeList(600, {"Name", "Total Ounces", "Glass"}, rows);
        AutoSizeColumns(wide.get());
        QCOMPARE(wide->ColumnWidth(2), Shown(w2));
        QCOMPARE(wide->ColumnWidth(3), Shown(w3));
        QCOMPARE(wide->ColumnWidth(1), Shown(wide->OuterWidth() - 315 - w2 - w3));

        // Too narrow for the rest: the first column fits its widest row text, never its header.
        const QString longHeader = "A first column header wider than every row";
        QVERIFY(Measure(longHeader) > Measure("Vodka Tonic"));
        auto narrow = MakeList(30, {longHeader, "Total Ounces", "Glass"}, rows);
        AutoSizeColumns(narrow.get());
        QCOMPARE(narrow->ColumnWidth(1), Shown(Measure("Vodka Tonic") + Margin()));
        QCOMPARE(narrow->ColumnWidth(2), Shown(w2));
        QCOMPARE(narrow->ColumnWidth(3), Shown(w3));
    }

    void autoSizeWithoutRowsFitsHeadersAndGivesFirstColumnTheRestOrTwentyPixels()
    {
        const int w2 = Measure("Priority") + Margin();
        auto wide = MakeList(500, {"A long first header", "Priority"}, {});
        AutoSizeColumns(wide.get());
        QCOMPARE(wide->ColumnWidth(2), Shown(w2));
        QCOMPARE(wide->ColumnWidth(1), Shown(wide->OuterWidth() - 315 - w2));

        auto narrow = MakeList(20, {"A long first header", "Priority"}, {});
        AutoSizeColumns(narrow.get());
        QCOMPARE(narrow->ColumnWidth(2), Shown(w2));
        QCOMPARE(narrow->ColumnWidth(1), Shown(Margin()));

        auto single = MakeList(400, {"Name"}, {{"Gin"}});
        AutoSizeColumns(single.get());
        QCOMPARE(single->ColumnWidth(1), Shown(single->OuterWidth() - 315));
    }

    void sortSameHeaderTogglesAscendingDescendingAscending()
    {
        auto list = MakeList(300, {"Name", "Amount"}, Fruit);
        const QStringList ascending = {"Apple", "banana", "cherry", "Date"}; // case ignored
        const QStringList descending = {"Date", "cherry", "banana", "Apple"};

        SortByColumn(list.get(), 1, false);
        QCOMPARE(Order(*list), ascending);
        QCOMPARE(Tags(*list), QStringList({"ASC", ""}));
        SortByColumn(list.get(), 1, false);
        QCOMPARE(Order(*list), descending);
        QCOMPARE(Tags(*list), QStringList({"DSC", ""}));
        SortByColumn(list.get(), 1, false);
        QCOMPARE(Order(*list), ascending);
        QCOMPARE(Tags(*list), QStringList({"ASC", ""}));
    }

    void sortOtherHeaderStartsAscendingAndComparesText()
    {
        auto list = MakeList(300, {"Name", "Amount"}, Fruit);
        SortByColumn(list.get(), 1, false);
        SortByColumn(list.get(), 1, false); // Name descending
        SortByColumn(list.get(), 2, false);
        // Sub-item texts compare as text, not as numbers: "10" before "2".
        QCOMPARE(Order(*list), QStringList({"cherry", "Apple", "banana", "Date"}));
        QCOMPARE(Tags(*list), QStringList({"", "ASC"}));
        SortByColumn(list.get(), 1, false);
        QCOMPARE(Order(*list), QStringList({"Apple", "banana", "cherry", "Date"}));
        QCOMPARE(Tags(*list), QStringList({"ASC", ""}));
    }

    void sortWithResetIsAlwaysAscending()
    {
        auto list = MakeList(300, {"Name", "Amount"}, Fruit);
        SortByColumn(list.get(), 1, false);
        SortByColumn(list.get(), 1, true);
        QCOMPARE(Order(*list), QStringList({"Apple", "banana", "cherry", "Date"}));
        QCOMPARE(Tags(*list), QStringList({"ASC", ""}));

        SortByColumn(list.get(), 2, false);
        SortByColumn(list.get(), 2, false); // Amount descending
        SortByColumn(list.get(), 1, true);
        QCOMPARE(Tags(*list), QStringList({"ASC", ""}));
        QCOMPARE(Order(*list), QStringList({"Apple", "banana", "cherry", "Date"}));
    }

    void sortedListPlacesAddedAndRenamedRowsButNotInsertedOrSubItemChanges()
    {
        auto list = MakeList(300, {"Name", "Amount"}, Fruit);
        SortByColumn(list.get(), 1, true);
        list->Add("Blueberry", "Blueberry");
        QCOMPARE(Order(*list), QStringList({"Apple", "banana", "Blueberry", "cherry", "Date"}));
        list->SetItemText(list->Item("Apple"), "elderberry");
        QCOMPARE(Order(*list),
                 QStringList({"banana", "Blueberry", "cherry", "Date", "elderberry"}));
        list->Insert(1, "Zucchini", "Zucchini");
        QCOMPARE(list->Item(1)->Text(), QString("Zucchini"));

        SortByColumn(list.get(), 1, false); // descending
        list->Add("coconut", "coconut");
        QCOMPARE(Order(*list), QStringList({"Zucchini", "elderberry", "Date", "coconut", "cherry",
                                            "Blueberry", "banana"}));

        SortByColumn(list.get(), 2, true);
        const QStringList byAmount = Order(*list);
        list->Item(1)->SetSubItem(1, "99");
        QCOMPARE(Order(*list), byAmount);
    }

    void fillIngredientTreeBuildsSortedHierarchy()
    {
        const auto add = [](const QString& name, const QString& parent) {
            auto ingredient = std::make_shared<Ingredient>();
            ingredient->SetName(name);
            ingredient->SetParentItem(parent);
            QVERIFY(colIngredients.Add(name, ingredient));
        };
        add("Spirits", "");
        add("mixers", "");
        add("Lime Vodka", "Vodka"); // stored before its parent, which is not top-level
        add("Vodka", "Spirits");
        add("Gin", "Spirits");
        add("Tonic", "mixers");
        add("Ghost", "Nowhere"); // its parent does not exist
        add("Zubrowka", "Vodka");
        add("Citrus Vodka", "Vodka");
        add("Bitters", "");

        platform::TreeView tree(nullptr);
        FillIngredientTree(&tree);
        FillIngredientTree(&tree); // a second fill replaces the first
        const auto children = [](const platform::TreeNode* node) {
            QStringList texts;
            for (int i = 0; i < node->Children(); ++i)
                texts << node->Child(i)->Text();
            return texts;
        };
        platform::TreeNode* root = tree.Node("Ingredients");
        QVERIFY(root && !root->Parent());
        QCOMPARE(root->Text(), QString("Ingredients"));
        QVERIFY(root->isExpanded());
        QVERIFY(root->Sorted());
        QCOMPARE(children(root), QStringList({"Bitters", "mixers", "Spirits"}));
        QCOMPARE(children(tree.Node("Spirits")), QStringList({"Gin", "Vodka"}));
        QVERIFY(!tree.Node("Spirits")->isExpanded());
        QCOMPARE(children(tree.Node("mixers")), QStringList({"Tonic"}));
        // Below the top level the nodes keep the order in which they were added.
        const QStringList vodkas = children(tree.Node("Vodka"));
        QVERIFY(vodkas.indexOf("Zubrowka") < vodkas.indexOf("Citrus Vodka"));
        QVERIFY(vodkas.contains("Lime Vodka"));
        QCOMPARE(tree.Node("Lime Vodka")->Parent()->Key(), QString("Vodka"));
        QCOMPARE(tree.Node("tonic")->Key(), QString("Tonic")); // keys ignore letter case

        colIngredients.Clear();
        FillIngredientTree(&tree);
        QCOMPARE(tree.Count(), 1);
        QCOMPARE(tree.Node(1)->Key(), QString("Ingredients"));
    }
};

QTEST_MAIN(TestListHelpers)
#include "test_listhelpers.moc"
