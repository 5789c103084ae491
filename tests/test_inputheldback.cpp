// Input that arrives while the editor loads or saves: the windows repaint, but no key press,
// click, shortcut or close request is acted on, then or later, and the files hold exactly the
// collections.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "browse/frmBrowse.h"
#include "editors/frmRecipes.h"
#include "platform/Dialogs.h"
#include "platform/Events.h"
#include "store/modCellarix.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace TestSupport;
using namespace modCellarix;

// The user asks the main window on the screen to close it, as its close box does.
static void RequestClose(QWidget* window)
{
    QCloseEvent close;
    QCoreApplication::sendEvent(window->windowHandle(), &close);
}

class TestInputHeldBack : public QObject {
    Q_OBJECT

private slots:
    // Open Database saves 25 recipes, yielding twice. A Delete on the recipe list (with its
    // question answered Yes), a click on "Browse Recipes", Ctrl+O and a close request arrive in
    // the first yield; none of them acts.
    void inputDuringTheRecipeSaveIsDropped()
    {
        MainWindowFolder folder;
        QList<QByteArray> records;
        for (int i = 1; i <= 25; ++i)
            records << RecipeRecord("Recipe " + QByteArray::number(i), "", "", {});
        const QByteArray recipes = DatabaseFile(records);
        folder.WriteDataFile("Recipes.Dat", recipes);
        folder.WriteDataFile("Other.Dat", DatabaseFile({RecipeRecord("Other", "", "", {})}));
        StartMainWindow();
        frmMain* window = frmMain::Instance();
        QVERIFY(ActivateMainWindow());
        window->cmdRecipes->click();
        frmRecipes* editor = window->RecipeEditor;
        QVERIFY(editor);

        platform::OpenFileDialog::SetNextAnswer(folder.DataPath() + "Other.Dat");
        const qsizetype dialogsBefore = platform::OpenFileDialog::Shown().size();
        platform::MessageBox::SetNextAnswer(platform::MsgAnswer::Yes);
        QTimer::singleShot(0, qApp, [&] { // at the first yield
            // The file was chosen and the old one is being written.
            QVERIFY(platform::OpenFileDialog::Shown().size() == dialogsBefore + 1 &&
                    RecipeDatabasePath == folder.DataPath() + "Recipes.Dat");
            editor->lvRecipes->setFocus();
            QTest::keyClick(editor->lvRecipes, Qt::Key_Delete);
            QTest::keyClick(editor->lvRecipes, Qt::Key_O, Qt::ControlModifier);
            QTest::mouseClick(window->cmdBrowse, Qt::LeftButton);
            RequestClose(window);
        });
        editor->mnuOpenDatabase->trigger();

        QCOMPARE(folder.ReadDataFile("Recipes.Dat"), recipes);
        QCoreApplication::processEvents(); // nothing was kept for later either
        QVERIFY(window->isVisible() && !window->RecipeBrowser);
        QVERIFY(platform::MessageBox::Shown().isEmpty()); // no "REMOVE RECIPE" question
        QCOMPARE(platform::OpenFileDialog::Shown().size(), dialogsBefore + 1);
        QCOMPARE(RowTexts(editor->lvRecipes), QStringList({"Other"}));

        // The input is taken again once the save is done.
        QTest::mouseClick(window->cmdBrowse, Qt::LeftButton);
        QVERIFY(window->RecipeBrowser);
    }

    // Start-up loads 25 glasses, yielding twice. A click on the File menu, Alt+F and a close
    // request arrive in the first yield: no menu opens, and the close is carried out once
    // everything is loaded, which writes the files back as they were.
    void inputDuringStartUpIsDroppedAndACloseWaitsForTheLoad()
    {
        MainWindowFolder folder;
        QList<QByteArray> records;
        for (int i = 1; i <= 25; ++i)
            records << GlassRecord("Glass " + QByteArray::number(i));
        const QByteArray glasses = DatabaseFile(records);
        folder.WriteDataFile("Glasses.Dat", glasses);
        QTimer::singleShot(0, qApp, [&] { // at the first yield
            QCOMPARE(colGlasses.Count(), 10);
            frmMain* window = frmMain::Instance();
            QMenuBar* bar = window->menuBar();
            QTest::mouseClick(bar, Qt::LeftButton, {},
                              bar->actionGeometry(window->mnuFile->menuAction()).center());
            QTest::keyClick(window, Qt::Key_F, Qt::AltModifier);
            RequestClose(window);
        });
        StartMainWindow();
        frmMain* window = frmMain::Instance();
        QCOMPARE(colGlasses.Count(), 25);
        QVERIFY(!QApplication::activePopupWidget() && window->isVisible());

        QTRY_VERIFY(!window->isVisible()); // the close asked for while loading
        QCOMPARE(folder.ReadDataFile("Glasses.Dat"), glasses);
        QCOMPARE(colGlasses.Count(), 0);
    }

    // A key press still waiting when the hold ends (it came after the last yield) is dropped
    // with the rest, not typed once the load or save is over.
    void inputStillWaitingWhenTheHoldEndsIsDropped()
    {
        QLineEdit box;
        {
            platform::InputHeldBack held;
            QCoreApplication::postEvent(
                &box, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
        }
        // Without a hold a key press is typed.
        QCoreApplication::postEvent(
            &box, new QKeyEvent(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier, "y"));
        QCoreApplication::processEvents();
        QCOMPARE(box.text(), QString("y"));
    }
};

QTEST_MAIN(TestInputHeldBack)
#include "test_inputheldback.moc"
