// The main window: its toolbox and menu, the hint line, the hint box layout, and that every
// way of quitting saves the three editable databases.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "app/modCellarix.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"

#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace TestSupport;
using namespace modCellarix;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { platform::MessageBox::SetScripted(true); }
    void init()
    {
        folder = std::make_unique<ProgramFolder>();
        StartMainWindow();
        window = frmMain::Instance();
    }
    void cleanup()
    {
        CloseMainWindow();
        folder.reset();
    }

    void captionToolboxAndMenu()
    {
        QCOMPARE(window->windowTitle(), QString("Mixora Database Editor"));

        struct Expected {
            QPushButton* button;
            const char* caption;
            bool visible;
            bool enabled;
        };
        const Expected buttons[] = {
            {window->cmdRecipes, "Edit Recipes", true, true},
            {window->cmdBrowse, "Browse Recipes", true, true},
            {window->cmdShowHelp, "Show Help", true, true},
            {window->cmdGlasses, "Glasses", false, true},
            {window->cmdIngredients, "Ingredients", false, true},
            {window->cmdPictures, "Pictures", false, false},
            {window->cmdSounds, "Sounds", false, false},
            {window->cmdMusic, "Music", false, false},
            {window->cmdHelp, "Help", false, false},
            {window->cmdImageMap, "Image Maps", false, false},
            {window->cmdImageLoc, "Image Locations", false, false},
            {window->cmdAnimations, "Animations", false, false},
            {window->cmdTrivia, "Trivia", false, false},
            {window->cmdDYK, "DYK", false, false},
            {window->cmdBarTricks, "Bar Tricks", false, false},
        };
        for (const Expected& expected : buttons) {
            const QByteArray which = expected.caption;
            QVERIFY2(expected.button->parentWidget() == window->picToolbox, which);
            QCOMPARE(expected.button->text(), QString(expected.caption));
            QVERIFY2(expected.button->isVisible() == expected.visible, which);
            QVERIFY2(expected.button->isEnabled() == expected.enabled, which);
        }
        QVERIFY(!window->txtHelp->isEnabled()); // the user never types into the hint line

        QCOMPARE(window->mnuFile->title(), QString("&File"));
        QVERIFY(window->menuBar()->actions().contains(window->mnuFile->menuAction()));
        QCOMPARE(window->mnuQuit->text(), QString("&Quit"));
        QVERIFY(window->mnuFile->actions().contains(window->mnuQuit));
    }

    void quittingSavesAllThreeFiles_data()
    {
        QTest::addColumn<bool>("throughMenu");
        QTest::newRow("File, Quit") << true;
        QTest::newRow("close box") << false;
    }

    void quittingSavesAllThreeFiles()
    {
        QFETCH(bool, throughMenu);
        auto glass = std::make_shared<Glass>();
        glass->Name = "Flute";
        QVERIFY(colGlasses.Add(glass->Name, glass));
        auto ingredient = std::make_shared<Ingredient>();
        ingredient->SetName("Rum");
        ingredient->SetParentItem("");
        QVERIFY(colIngredients.Add("Rum", ingredient));
        auto recipe = std::make_shared<Recipe>();
        recipe->Name = "Daiquiri";
        recipe->Glass = "Flute";
        QVERIFY(colRecipes.Add(recipe->Name, recipe));

        if (throughMenu)
            window->mnuQuit->trigger();
        else
            window->close();

        QVERIFY(!window->isVisible());
        QCOMPARE(colGlasses.Count() + colIngredients.Count() + colRecipes.Count(), 0);
        QByteArray glassRecord = Field("Flute");
        for (int i = 0; i < 7; ++i)
            glassRecord += Field("");
        QCOMPARE(folder->ReadDataFile("Glasses.Dat"),
                 Int32(1) + glassRecord + Bytes(1, '\0') + Int32(0));
        QCOMPARE(folder->ReadDataFile("Ingredients.Dat"),
                 Int32(1) + Field("Rum") + Bytes(7, '\0') + Field("") + Bytes(305, '\0'));
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), Int32(1) + Field("Daiquiri") +
                                                          Bytes(1, '\0') + Field("Flute") +
                                                          Bytes(1, '\0') + Int32(0) + Int32(0));
        QCOMPARE(folder->ReadDataFile("Help.Dat"), QByteArray());
    }

    void hintLineFollowsToolboxFocus()
    {
        const auto hint = [this] { return window->txtHelp->toPlainText(); };
        QCOMPARE(hint(), QString("Watch this space for helpful hints ..."));

        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        window->cmdRecipes->setFocus();
        QCOMPARE(hint(), QString("Edit and view the recipes in the database ..."));
        window->cmdBrowse->setFocus();
        QCOMPARE(hint(), QString("Browse the recipes in the database ..."));
        window->cmdShowHelp->setFocus(); // no hint of its own, and Browse does not clear
        QCOMPARE(hint(), QString("Browse the recipes in the database ..."));

        window->cmdRecipes->setFocus();
        QCOMPARE(hint(), QString("Edit and view the recipes in the database ..."));
        window->cmdShowHelp->setFocus();
        QCOMPARE(hint(), QString());
    }

    void hintBoxFillsToolboxBelowButtons_data()
    {
        QTest::addColumn<int>("toolboxTwips");
        QTest::addColumn<int>("heightTwips");
        QTest::newRow("tall toolbox") << 8000 << 2420;
        QTest::newRow("toolbox shorter than the buttons") << 3000 << 0;
    }

    void hintBoxFillsToolboxBelowButtons()
    {
        QFETCH(int, toolboxTwips);
        QFETCH(int, heightTwips);
        const int toolboxHeight = platform::TwipsToPixelsY(toolboxTwips);
        window->resize(window->width(),
                       window->height() + toolboxHeight - window->picToolbox->height());
        QCoreApplication::processEvents();
        QCOMPARE(window->picToolbox->height(), toolboxHeight);

        const QRect box = window->txtHelp->geometry();
        QCOMPARE(box.left(), 0);
        QVERIFY2(qAbs(box.top() - platform::TwipsToPixelsY(5580)) <= 1,
                 qPrintable(QString::number(box.top())));
        QVERIFY2(qAbs(box.height() - platform::TwipsToPixelsY(heightTwips)) <= 1,
                 qPrintable(QString::number(box.height())));
        QCOMPARE(box.width(), window->picToolbox->width());
    }

private:
    std::unique_ptr<ProgramFolder> folder;
    frmMain* window = nullptr;
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
