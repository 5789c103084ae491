// The main window: its toolbox and menu, the hint line, the hint box layout, and that File, Quit
// saves the three editable databases.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "platform/Twips.h"
#include "store/modCellarix.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <utility>

using namespace TestSupport;
using namespace modCellarix;

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFolder> folder;
    frmMain* window = nullptr;

private slots:
    void init()
    {
        folder = std::make_unique<MainWindowFolder>();
        StartMainWindow();
        window = frmMain::Instance();
    }
    void cleanup() { folder.reset(); }

    // The toolbox in its order (only the first three shown, only the first five enabled), the
    // hint line, which the user never types into, following the focus in it, and its box's place.
    void captionToolboxHintLineAndHintBoxLayout()
    {
        QCOMPARE(window->windowTitle(), QString("Mixora Database Editor"));
        const frmMain* w = window;
        const QList<QPushButton*> buttons = {
            w->cmdRecipes,  w->cmdBrowse,     w->cmdShowHelp, w->cmdGlasses, w->cmdIngredients,
            w->cmdPictures, w->cmdSounds,     w->cmdMusic,    w->cmdHelp,    w->cmdImageMap,
            w->cmdImageLoc, w->cmdAnimations, w->cmdTrivia,   w->cmdDYK,     w->cmdBarTricks};
        const QStringList captions = {
            "Edit Recipes",    "Browse Recipes", "Show Help", "Glasses", "Ingredients",
            "Pictures",        "Sounds",         "Music",     "Help",    "Image Maps",
            "Image Locations", "Animations",     "Trivia",    "DYK",     "Bar Tricks"};
        for (int i = 0; i < buttons.size(); ++i)
            QVERIFY2(buttons[i]->text() == captions[i] &&
                         buttons[i]->parentWidget() == w->picToolbox &&
                         buttons[i]->isVisible() == (i < 3) && buttons[i]->isEnabled() == (i < 5),
                     qPrintable(captions[i]));
        QVERIFY(!window->txtHelp->isEnabled());

        const auto hint = [this] { return window->txtHelp->toPlainText(); };
        QCOMPARE(hint(), QString("Watch this space for helpful hints ..."));
        QVERIFY(ActivateMainWindow());
        window->cmdRecipes->setFocus();
        QCOMPARE(hint(), QString("Edit and view the recipes in the database ..."));
        window->cmdBrowse->setFocus();
        QCOMPARE(hint(), QString("Browse the recipes in the database ..."));
        window->cmdShowHelp->setFocus(); // no hint of its own, and Browse does not clear
        QCOMPARE(hint(), QString("Browse the recipes in the database ..."));
        window->cmdRecipes->setFocus();
        window->cmdShowHelp->setFocus(); // Edit Recipes does
        QCOMPARE(hint(), QString());

        // The hint box fills the toolbox from below the buttons (5580 twips) to its foot; a
        // toolbox shorter than the buttons leaves it no height.
        for (const auto& [toolboxTwips, heightTwips] :
             {std::pair(8000, 2420), std::pair(3000, 0)}) {
            const int toolboxHeight = platform::TwipsToPixelsY(toolboxTwips);
            window->resize(window->width(),
                           window->height() + toolboxHeight - window->picToolbox->height());
            QCOMPARE(window->picToolbox->height(), toolboxHeight);
            const QRect box = window->txtHelp->geometry();
            QCOMPARE(box.left(), 0);
            QCOMPARE(box.width(), window->picToolbox->width());
            QVERIFY(qAbs(box.top() - platform::TwipsToPixelsY(5580)) <= 1);
            QVERIFY(qAbs(box.height() - platform::TwipsToPixelsY(heightTwips)) <= 1);
        }
    }

    // File, Quit runs the shut-down of the close box, which the editor tests check for all three
    // files.
    void fileQuitSavesAndReleasesTheCollections()
    {
        QVERIFY(window->mnuFile->actions().contains(window->mnuQuit));
        auto recipe = std::make_shared<Recipe>();
        recipe->Name = "Daiquiri";
        recipe->Glass = "Flute";
        QVERIFY(colRecipes.Add(recipe->Name, recipe));
        window->mnuQuit->trigger();
        QVERIFY(!window->isVisible());
        QCOMPARE(colRecipes.Count(), 0);
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"),
                 DatabaseFile({RecipeRecord("Daiquiri", "Flute", "", {})}));
    }

    // Tab stays inside a child window, so F6 is the keyboard's way between the toolbox and the
    // active window.
    void f6MovesBetweenToolboxAndActiveWindow()
    {
        QVERIFY(ActivateMainWindow());
        const auto pressF6 = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6); };
        window->cmdBrowse->setFocus();
        QTest::keyClick(window->cmdBrowse, Qt::Key_Space);
        QWidget* list = QApplication::focusWidget(); // in the window it opened
        pressF6();
        QCOMPARE(QApplication::focusWidget(), window->cmdBrowse); // the button last used
        QTest::keyClick(window->cmdBrowse, Qt::Key_Tab);
        QTest::keyClick(window->cmdShowHelp, Qt::Key_Space); // opens a second window
        QWidget* topics = QApplication::focusWidget();
        QVERIFY(topics != list && window->mdiArea->activeSubWindow()->isAncestorOf(topics));
        pressF6();
        QCOMPARE(QApplication::focusWidget(), window->cmdShowHelp);
        pressF6();
        QCOMPARE(QApplication::focusWidget(), topics);

        // Closing the last window (Ctrl+F4) gives the focus back to the toolbox, not to nothing;
        // with no window open F6 leaves it there.
        QTest::keyClick(topics, Qt::Key_F4, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
        QApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), window->cmdShowHelp);
        pressF6();
        QCOMPARE(QApplication::focusWidget(), window->cmdShowHelp);
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
