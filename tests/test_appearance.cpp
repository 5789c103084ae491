// What the user sees of every window: the designed fonts, captions shown whole, child windows
// opened in view, the Window menu, names for screen readers and the printed card. The whole
// test runs twice, at 96 dpi and with QT_SCALE_FACTOR=2 (192 dpi).
#include "TestSupport.h"

#include "app/frmMain.h"
#include "browse/frmBrowse.h"
#include "browse/frmHelp.h"
#include "editors/frmAddIngredient.h"
#include "editors/frmCheck.h"
#include "editors/frmGlasses.h"
#include "editors/frmIngredients.h"
#include "editors/frmRecipes.h"
#include "platform/Controls.h"
#include "platform/Printing.h"
#include "platform/Twips.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>

using namespace TestSupport;

namespace {

// The text of a label, check box or button, the pixels it takes, and the room its control
// gives it, in the control's own coordinates.
struct CaptionSpace {
    QString caption;
    QSize text;
    QRect room;
};

QString WithoutMnemonic(QString text)
{
    return text.remove(QRegularExpression("&(?!&)"));
}

std::optional<CaptionSpace> SpaceOf(QWidget* control)
{
    const QFontMetrics metrics(control->font());
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->wordWrap() || label->text().isEmpty())
            return std::nullopt;
        const QString shown = label->buddy() ? WithoutMnemonic(label->text()) : label->text();
        const QRect text = metrics.boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, shown);
        return CaptionSpace{shown, text.size(), label->contentsRect()};
    }
    // A list of the program's own entries: the widest entry in the list's text field; a button's
    // or check box's caption in its contents.
    QString shown;
    QRect room;
    if (auto* list = dynamic_cast<platform::DropDownList*>(control)) {
        for (int k = 0; k < list->count(); ++k)
            if (metrics.horizontalAdvance(list->itemText(k)) > metrics.horizontalAdvance(shown))
                shown = list->itemText(k);
        QStyleOptionComboBox option;
        option.initFrom(list);
        // The entry is drawn one pixel inside the text field at either side.
        room =
            list->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
                .adjusted(1, 0, -1, 0);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        room = button->style()->subElementRect(qobject_cast<QCheckBox*>(button)
                                                   ? QStyle::SE_CheckBoxContents
                                                   : QStyle::SE_PushButtonContents,
                                               &option, button);
        shown = WithoutMnemonic(button->text());
    }
    if (shown.isEmpty())
        return std::nullopt;
    return CaptionSpace{shown, QSize(metrics.horizontalAdvance(shown), metrics.height()), room};
}

} // namespace

class TestAppearance : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindowFolder> folder;
    QTemporaryDir printFolder;

    static frmMain* Main() { return frmMain::Instance(); }

    // Every window opened through the toolbox and the menus, each child window's client area.
    QList<QWidget*> OpenEveryChild()
    {
        for (QPushButton* button : {Main()->cmdGlasses, Main()->cmdIngredients, Main()->cmdRecipes,
                                    Main()->cmdBrowse, Main()->cmdShowHelp})
            button->click();
        Main()->mnuCheckDatabase->trigger();
        return {Main()->GlassEditor,   Main()->IngredientEditor, Main()->RecipeEditor,
                Main()->RecipeBrowser, Main()->HelpBrowser,      Main()->DatabaseCheck};
    }

    static QRect Outer(const QWidget* child) { return child->parentWidget()->geometry(); }
    static QRect Visible() { return Main()->mdiArea->viewport()->rect(); }

private slots:
    void init()
    {
        folder = std::make_unique<MainWindowFolder>();
        folder->WriteDataFile("Glasses.Dat", DatabaseFile({GlassRecord("Cocktail Glass"),
                                                           GlassRecord("Highball Glass")}));
        folder->WriteDataFile("Ingredients.Dat",
                              DatabaseFile({IngredientRecord("Spirits", "", {false}),
                                            IngredientRecord("White Rum", "Spirits"),
                                            IngredientRecord("Lime Juice", "")}));
        folder->WriteDataFile(
            "Recipes.Dat",
            DatabaseFile({RecipeRecord("Daiquiri", "Cocktail Glass", "Shake with ice.\r\nStrain.",
                                       {Line("White Rum", 32, 1), Line("Lime Juice", 12, 2)})}));
        folder->WriteDataFile("Help.Dat",
                              DatabaseFile({HelpRecord("Welcome", "Pick a recipe on the left.")}));
        StartMainWindow();
        QVERIFY(ActivateMainWindow());
    }

    void cleanup()
    {
        platform::SetPrintOutputFile(QString());
        folder.reset();
    }

    void everyWindowOpensWhollyInViewAtTheScaleAskedForInTheDesignedFontsEditorsAtAFixedSize()
    {
        QCOMPARE(Main()->devicePixelRatio(),
                 qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        const QRect screen = Main()->screen()->availableGeometry();
        QCOMPARE(Main()->frameGeometry().intersected(screen), Main()->frameGeometry());
        // Where the screen has room, the window has its designed client area.
        const QSize designed(platform::TwipsToPixelsX(11175), platform::TwipsToPixelsY(8925));
        if (screen.height() > designed.height() + 100)
            QCOMPARE(Main()->centralWidget()->size(), designed);

        for (QWidget* child : OpenEveryChild())
            QVERIFY2(Visible().contains(Outer(child)), qPrintable(child->windowTitle()));
        QCOMPARE(QFontInfo(Main()->cmdRecipes->font()).family(), QString("Tahoma"));
        QCOMPARE(QFontInfo(Main()->GlassEditor->lblHotspotID->font()).family(), QString("Tahoma"));
        // Liberation Sans is the face with Arial's metrics that fontconfig offers for Arial.
        const QString cardFace = QFontInfo(Main()->RecipeBrowser->lblName->font()).family();
        QVERIFY2(cardFace == "Arial" || cardFace == "Liberation Sans", qPrintable(cardFace));
        // Captions keep their designed size where they fit.
        QCOMPARE(Main()->RecipeBrowser->lblName->font().pointSizeF(), 14.25);
        QCOMPARE(Main()->GlassEditor->lblOpacity->font().pointSizeF(), 8.25);

        // The three editors cannot be resized: the pointer at the bottom-right corner offers no
        // resizing, and Tile moves them without resizing them.
        for (QWidget* editor :
             QList<QWidget*>{Main()->GlassEditor, Main()->IngredientEditor, Main()->RecipeEditor}) {
            auto* window = qobject_cast<QMdiSubWindow*>(editor->parentWidget());
            Main()->mdiArea->setActiveSubWindow(window);
            QTest::mouseMove(window, QPoint(window->width() - 2, window->height() - 2));
            QCOMPARE(window->cursor().shape(), Qt::ArrowCursor);
        }
        const QSize glasses = Main()->GlassEditor->parentWidget()->size();
        Main()->mdiArea->tileSubWindows();
        QCOMPARE(Main()->GlassEditor->parentWidget()->size(), glasses);
    }

    void everyCaptionIsShownWholeAndEveryControlHasANameForScreenReaders()
    {
        frmAddIngredient picker(Main());
        picker.Form_Load();
        int checked = 0;
        for (QWidget* window : OpenEveryChild() + QList<QWidget*>{Main()->picToolbox, &picker}) {
            const auto controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            for (QWidget* control : controls) {
                const std::optional<CaptionSpace> space = SpaceOf(control);
                if (!space)
                    continue;
                ++checked;
                QString sizes;
                QDebug(&sizes) << space->caption << "in" << window->windowTitle() << space->text
                               << space->room;
                // The text fits its room and ends before any control to its right on its row.
                const QRect at(control->pos() + space->room.topLeft(), space->text);
                QVERIFY2(space->room.translated(control->pos()).contains(at), qPrintable(sizes));
                for (QWidget* other : controls)
                    QVERIFY2(other == control || other->x() <= at.left() ||
                                 !other->geometry().intersects(at),
                             qPrintable(sizes + " runs into " + other->metaObject()->className()));
            }
        }
        // Toolbox 15 buttons, glasses 8 labels, ingredients 9 labels and 2 check boxes,
        // recipes 4, browser 3 card lines and the button, help 1, check 1, picker 2.
        QVERIFY2(checked >= 45, qPrintable(QString::number(checked)));

        // The box in which a name is edited in place is named, too.
        Main()->RecipeEditor->lvRecipes->setFocus();
        QTest::keyClick(Main()->RecipeEditor->lvRecipes, Qt::Key_F2);
        QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        checked = 0;
        for (QWidget* control :
             Main()->findChildren<QWidget*>() + picker.findChildren<QWidget*>()) {
            // The parts of scroll areas (scroll bars, headers, viewports) are named by Qt.
            if (qobject_cast<QScrollBar*>(control) || qobject_cast<QHeaderView*>(control) ||
                qobject_cast<QMdiSubWindow*>(control) || qobject_cast<QMdiArea*>(control) ||
                qobject_cast<QMenuBar*>(control) || control->isWindow())
                continue;
            auto* combo = qobject_cast<QComboBox*>(control);
            auto* text = qobject_cast<QPlainTextEdit*>(control);
            const bool holdsData = combo || text || qobject_cast<QAbstractItemView*>(control);
            if (!holdsData && !(control->focusPolicy() & Qt::TabFocus))
                continue;
            ++checked;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            QVERIFY(accessible);
            // A chooser's or text box's own name, not what it shows at the moment.
            const QString name = holdsData && !control->accessibleName().isEmpty()
                                     ? control->accessibleName()
                                     : accessible->text(QAccessible::Name);
            const QString value = accessible->text(QAccessible::Value);
            QVERIFY2(!name.trimmed().isEmpty() && (!(combo || text) || name != value),
                     qPrintable(QDebug::toString(control) + " in " +
                                control->window()->windowTitle() + " named " + name + " showing " +
                                value));
        }
        QVERIFY2(checked >= 40, qPrintable(QString::number(checked)));
        // Choosers with a label are named after it and reached by its mnemonic.
        QCOMPARE(Main()->GlassEditor->cboHotspotID->accessibleName(), QString("Hotspot ID"));
        QCOMPARE(Main()->GlassEditor->lblHotspotID->buddy(), Main()->GlassEditor->cboHotspotID);
    }

    void childWindowsOpenInViewCascadingFromTheTopLeft()
    {
        for (QPushButton* button : {Main()->cmdGlasses, Main()->cmdBrowse, Main()->cmdShowHelp})
            button->click();
        const QRect glasses = Outer(Main()->GlassEditor), browser = Outer(Main()->RecipeBrowser),
                    help = Outer(Main()->HelpBrowser);
        QCOMPARE(glasses.topLeft(), QPoint(0, 0));
        QVERIFY(browser.x() > 0 && browser.x() == browser.y());
        QVERIFY(help.x() > browser.x() && help.y() > browser.y());

        // Shown again, a window stays where it is; one too big for the main window opens at the
        // top left.
        Main()->cmdGlasses->click();
        QCOMPARE(Outer(Main()->GlassEditor), glasses);
        Main()->resize(300, 250);
        QApplication::processEvents();
        Main()->cmdRecipes->click();
        QCOMPARE(Outer(Main()->RecipeEditor).topLeft(), QPoint(0, 0));
        // Its far corner is reached by scrolling the main window's free area.
        QApplication::processEvents();
        for (QScrollBar* bar :
             {Main()->mdiArea->horizontalScrollBar(), Main()->mdiArea->verticalScrollBar()}) {
            QVERIFY(bar->isVisible()); // the user's way there
            bar->setValue(bar->maximum());
        }
        QVERIFY(Visible().contains(Outer(Main()->RecipeEditor).bottomRight()));
    }

    void messageBoxesShowNamesAsTyped()
    {
        // A name that looks like markup is shown as it stands, not drawn in bold.
        Main()->cmdGlasses->click();
        platform::ListView* glasses = Main()->GlassEditor->LV;
        QVERIFY(EditLabel(glasses, "<b>Pint</b>"));
        Press(glasses, Qt::Key_Delete);
        QVERIFY(Asked("Remove glass '<b>Pint</b>' ?", "REMOVE GLASS"));
        const platform::ShownMessage asked = platform::MessageBox::Shown().first();
        const auto box =
            platform::MessageBox::Make(asked.text, asked.buttons, asked.icon, asked.title);
        auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        QVERIFY(label);
        QCOMPARE(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), asked.text);
        QCOMPARE(box->windowTitle(), asked.title);
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
    }

    void windowMenuFollowsTheActiveWindowsMenus()
    {
        // The texts of menu entries, a checked one marked "* ".
        const auto texts = [](const QList<QAction*>& actions) {
            QStringList texts;
            for (const QAction* action : actions)
                texts << (action->isChecked() ? "* " : "") + action->text();
            return texts;
        };
        const auto titles = [&] { return texts(Main()->menuBar()->actions()); };
        QCOMPARE(titles(), QStringList({"&File", "&Window"}));
        Main()->cmdGlasses->click();
        Main()->cmdRecipes->click();
        QCOMPARE(titles(), QStringList({"&File", "&Actions", "&Window"}));

        emit Main()->mnuWindow->aboutToShow();
        QCOMPARE(texts(Main()->mnuWindow->actions()),
                 QStringList({"&Cascade", "&Tile", "", "&1 Glasses - (2 Entries)",
                              "* &2 Recipes - (1 Entries)"}));
        Main()->mnuWindow->actions().at(3)->trigger();
        QCOMPARE(Main()->mdiArea->activeSubWindow(), Main()->GlassEditor->parentWidget());
        QCOMPARE(titles(), QStringList({"&File", "&Window"}));

        Main()->cmdBrowse->click();
        QCOMPARE(titles(), QStringList({"&File", "Print", "&Window"}));
        // Tiled first, so that Cascade has to move them.
        Main()->mnuWindow->actions().at(1)->trigger();
        Main()->mnuWindow->actions().at(0)->trigger();
        const QList<QMdiSubWindow*> windows = Main()->mdiArea->subWindowList();
        QCOMPARE(windows.size(), 3);
        QVERIFY(windows[0]->y() < windows[1]->y() && windows[1]->y() < windows[2]->y());
    }

    void printedCardIsOnePageOfTextAcrossThePageWidth()
    {
        Main()->cmdBrowse->click();
        const QString path = printFolder.filePath("card.pdf");
        platform::SetPrintOutputFile(path);
        Main()->RecipeBrowser->cmdPrint->click();

        QProcess process;
        process.start("pdftotext", {"-bbox", path, "-"});
        QVERIFY2(
            process.waitForFinished(60000),
            "pdftotext did not run: run scripts/install-test-dependencies.sh if it is missing");
        const QString page = QString::fromUtf8(process.readAllStandardOutput());
        const double width =
            QRegularExpression(R"re(<page width="([\d.]+)")re").match(page).captured(1).toDouble();
        QVERIFY2(width > 500, qPrintable(page.left(500)));
        // The window spans the page between its margins: the list starts at the left margin,
        // the button ends near the right one.
        QString all;
        double leftmost = width, rightmost = 0;
        const QRegularExpression word(
            R"re(<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
        for (auto match = word.globalMatch(page); match.hasNext();) {
            const auto found = match.next();
            all += found.captured(3) + ' ';
            leftmost = qMin(leftmost, found.captured(1).toDouble());
            rightmost = qMax(rightmost, found.captured(2).toDouble());
        }
        for (const char* expected : {"Daiquiri", "Cocktail Glass", "White Rum", "Lime Juice",
                                     "Shake with ice.", "Strain.", "Print Recipe"})
            QVERIFY2(all.contains(expected), qPrintable(expected + (" not in: " + all)));
        QVERIFY2(leftmost < 0.15 * width && rightmost > 0.8 * width && rightmost < width,
                 qPrintable(QString("words from %1 to %2").arg(leftmost).arg(rightmost)));
        QCOMPARE(page.count("<page "), 1);

        // The menu entry prints the same way; each time a message says where the file went.
        const QString menuPath = printFolder.filePath("menu.pdf");
        platform::SetPrintOutputFile(menuPath);
        Main()->RecipeBrowser->mnuPrint->trigger();
        const auto& shown = platform::MessageBox::Shown();
        QVERIFY(shown.size() == 2 && shown[1].title == "PRINT" &&
                shown[1].icon == platform::MsgIcon::Information &&
                shown[1].text.contains(menuPath));
    }
};

QTEST_MAIN(TestAppearance)
#include "test_appearance.moc"
