// The two read-only browsers: the recipe card with its names, amounts and instructions, the
// list in collection order, the layout that follows the window size, and the help browser with
// its topic text. Printing the card is tried with the rest of the appearance.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "browse/frmBrowse.h"
#include "browse/frmHelp.h"
#include "platform/Twips.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace TestSupport;

namespace {

// Twips read back from pixels are off by at most one pixel.
#define QVERIFY_NEAR(actual, expected)                                                             \
    QVERIFY2(qAbs((actual) - (expected)) <= int(platform::TwipsPerPixelX()) + 1,                   \
             qPrintable(QString("%1 is %2, expected %3").arg(#actual).arg(actual).arg(expected)))

// A control's geometry in twips.
const auto Left = [](const QWidget* w) { return platform::PixelsToTwipsX(w->x()); };
const auto Width = [](const QWidget* w) { return platform::PixelsToTwipsX(w->width()); };
const auto Height = [](const QWidget* w) { return platform::PixelsToTwipsY(w->height()); };

// Resizes the child window's sub-window to `width` × `height` pixels; its outer size in twips.
QSize ResizeOuter(QWidget* child, int width, int height)
{
    child->parentWidget()->resize(width, height);
    return QSize(Width(child->parentWidget()), Height(child->parentWidget()));
}

} // namespace

class TestBrowsers : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFolder> folder;
    frmBrowse* browser = nullptr;
    frmHelp* help = nullptr;

    // Starts the main window on these recipes and help topics (no glasses, no ingredients) and
    // opens both browsers.
    void Start(const QByteArray& recipes, const QByteArray& topics)
    {
        folder.reset();
        folder = std::make_unique<MainWindowFolder>();
        folder->WriteDataFile("Recipes.Dat", recipes);
        folder->WriteDataFile("Help.Dat", topics);
        StartMainWindow();
        frmMain::Instance()->cmdBrowse->click();
        frmMain::Instance()->cmdShowHelp->click();
        browser = frmMain::Instance()->RecipeBrowser;
        help = frmMain::Instance()->HelpBrowser;
        QVERIFY(browser && help); // a failed set-up fails the test instead of crashing it
    }

    // The recipe card: name, glass, ingredient names with the instructions, amounts.
    QStringList Card() const
    {
        return {browser->lblName->text(), browser->lblGlass->text(), browser->lblIngs->text(),
                browser->lblAmt->text()};
    }

    // The help topic: name and text.
    QStringList Topic() const { return {help->lblName->text(), help->lblInst->text()}; }

    // The recipe browser's sub-window resized to `width` × `height` pixels follows the resize
    // rule for its outer size in twips.
    void VerifyBrowserLayout(int width, int height)
    {
        const frmBrowse* b = browser;
        const QSize outer = ResizeOuter(browser, width, height);
        const int w = outer.width(), h = outer.height();
        QVERIFY_NEAR(Height(b->lvRecipes), qMax(0, h - 430));
        QVERIFY_NEAR(Height(b->lblIngs), h);
        QVERIFY_NEAR(Width(b->lblIngs), qBound(2000, w - 2520 - Width(b->lblAmt) - 500, 5000));
        QVERIFY_NEAR(Left(b->lblAmt), Left(b->lblIngs) + Width(b->lblIngs) + 500);
        QVERIFY_NEAR(Left(b->cmdPrint), qMax(w - Width(b->cmdPrint) - 200, 2220 + 200));
        QVERIFY_NEAR(platform::PixelsToTwipsY(b->cmdPrint->y()), h - Height(b->cmdPrint) - 500);
    }

private slots:
    // The recipes out of name order. Zombie's glass and first amount are longer than their card
    // lines; its middle line is a garnish (priority 9) that carries an amount; its last line
    // (priority 10) is a named measure. Americano's first line has no amount.
    void init()
    {
        Start(
            DatabaseFile({RecipeRecord("Zombie", "Tiki Mug of the Grand Old Bar with a Frosted Rim",
                                       "Blend.\r\nServe cold.",
                                       {Line("Rum", 24, 0), Line("Cherry", 7, 9),
                                        Line("Pineapple Juice", 65, 10)}),
                          RecipeRecord("Americano", "Rocks", "Build.",
                                       {Line("Campari", 0, 0), Line("Soda", 22, 1)}),
                          RecipeRecord("Water", "", "Pour.", {})}),
            DatabaseFile({HelpRecord("Welcome", "First line.\r\nSecond line."),
                          HelpRecord("About", "Mixora keeps\rthe bar's\nrecipes.")}));
    }
    void cleanup() { folder.reset(); }

    void recipeCardShowsAmountsBesideNamesThenInstructionsAndHelpTheTopicText()
    {
        QCOMPARE(browser->windowTitle(), QString("Recipe Browser"));
        QCOMPARE(RowTexts(browser->lvRecipes), QStringList({"Zombie", "Americano", "Water"}));
        // A garnish shows no amount, even with one stored; code 24 is ounces, 65 a measure.
        QCOMPARE(Card(), QStringList({"Zombie", "Tiki Mug of the Grand Old Bar with a Frosted Rim",
                                      "Rum\nCherry\nPineapple Juice\n\nBlend.\nServe cold.",
                                      "1 1/2 oz\n\nFill\n"}));
        // Each row shows its own recipe, found through the row's position in the file.
        ClickRow(browser->lvRecipes, 2);
        QCOMPARE(Card(),
                 QStringList({"Americano", "Rocks", "Campari\nSoda\n\nBuild.", "\nHalf Fill\n"}));
        ClickRow(browser->lvRecipes, 3);
        QCOMPARE(Card(), QStringList({"Water", "", "\nPour.", ""}));

        QCOMPARE(help->windowTitle(), QString("Help Browser"));
        QCOMPARE(RowTexts(help->lvHelpTopics), QStringList({"Welcome", "About"}));
        QCOMPARE(Topic(), QStringList({"Welcome", "First line.\nSecond line."}));
        QVERIFY(help->lblInst->wordWrap());
        ClickRow(help->lvHelpTopics, 2);
        // A carriage return or a line feed alone starts a new line too.
        QCOMPARE(Topic(), QStringList({"About", "Mixora keeps\nthe bar's\nrecipes."}));

        // Empty databases open with nothing shown.
        Start(DatabaseFile({}), DatabaseFile({}));
        QCOMPARE(Card(), QStringList({"", "", "", ""}));
        QCOMPARE(Topic(), QStringList({"", ""}));
    }

    void browserAndHelpLayoutsFollowTheWindowSizeWithinLimits()
    {
        // As opened: the design client area, the card in its fonts whatever the first recipe
        // holds, and the button in its designed size.
        VerifyBrowserLayout(browser->parentWidget()->width(), browser->parentWidget()->height());
        QVERIFY_NEAR(Width(browser), 8610);
        for (const QLabel* label :
             {browser->lblName, browser->lblGlass, browser->lblIngs, browser->lblAmt})
            QCOMPARE(label->font().pointSizeF(), label == browser->lblName ? 14.25 : 12.0);
        QVERIFY_NEAR(Width(browser->cmdPrint), 1215);
        // Narrow (the names keep 2000 twips, the button stays right of the list), very wide (the
        // names stop at 5000 twips), shorter than the list's margin (the list is 0 high).
        for (const auto& [width, height] : {std::pair{200, 300}, {1400, 900}, {600, 1}})
            VerifyBrowserLayout(width, height);

        // The help text keeps between 2000 and 10000 twips; the name keeps its designed width.
        for (const auto& [width, height, textWidth] :
             {std::tuple{200, 250, 2000}, {1100, 500, 10000}}) {
            const QSize outer = ResizeOuter(help, width, height);
            QVERIFY_NEAR(Height(help->lvHelpTopics), qMax(0, outer.height() - 430));
            QVERIFY_NEAR(Height(help->lblInst), outer.height());
            QVERIFY_NEAR(Width(help->lblInst), textWidth);
            QVERIFY_NEAR(Width(help->lblName), 4695);
        }
    }
};

QTEST_MAIN(TestBrowsers)
#include "test_browsers.moc"
