// What the user did not change stays byte for byte, and nothing the editor accepts is lost:
// viewing every record through every window rewrites nothing; random sessions of edits come back
// from the files exactly as the windows showed them; names and texts are taken only as the files
// can hold them; keys reach the control they were typed into; the recipe browser follows the
// recipe database; Open Database never takes another database for a recipe file.
#include "TestSupport.h"

#include "app/frmMain.h"
#include "browse/frmBrowse.h"
#include "editors/frmAddIngredient.h"
#include "editors/frmCheck.h"
#include "editors/frmGlasses.h"
#include "editors/frmIngredients.h"
#include "editors/frmRecipes.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "store/modCellarix.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

#include <memory>
#include <tuple>

using namespace TestSupport;
using namespace modCellarix;
using platform::MessageBox;
using platform::MsgAnswer;

namespace {

// Every byte value, with the line breaks and white space a text may hold: lone CR, lone LF,
// CR LF, LF CR, no-break spaces, NUL, spaces at both ends.
QByteArray EveryByte()
{
    QByteArray bytes("  ");
    for (int value = 0; value < 256; ++value)
        bytes += char(value);
    return bytes + QByteArray("\r\nlone\rcr lone\nlf\n\r\xA0nbsp\xA0\0end  ", 31);
}

const QByteArray HighName("Caf\xE9 \x80\x81\x8D\x8F\x90\x9D\xA0\xFF");

// The file of `records`, without the one at `leftOut` when it is not -1.
QByteArray FileWithout(QList<QByteArray> records, int leftOut)
{
    if (leftOut >= 0)
        records.removeAt(leftOut);
    return DatabaseFile(records);
}

// Each file holds a plain record for a test to remove: the first glass, an ingredient between
// others, the second recipe (the first by name).

// `assets` is the glasses' asset field; the save writes the fixed text fields without the spaces
// they start with. Highball's asset fields hold bytes after a NUL.
QByteArray GlassesFile(const QByteArray& assets, int leftOut = -1)
{
    return FileWithout({GlassRecord("Spare"),
                        GlassRecord("Highball", EveryByte(), 7, QByteArray("asset\x9D\0\0 x", 10)),
                        GlassRecord(HighName, "\r", 255), GlassRecord("Coupe", "\n", 0, assets),
                        GlassRecord("Flute", "\r\n\r\n", 254)},
                       leftOut);
}

// Top-level ingredients come first, as the save writes them. "Loose" names the root as its
// parent; Gin's opacity has no entry in the chooser; Rum's flag bytes are neither 0 nor 1 (both
// read as off), its colour has bits above red, green and blue, and its display text's length is
// below 0 (read as no text). Soda Water names its parent in other letter case.
QByteArray IngredientsFile(int leftOut = -1)
{
    QByteArray rum = IngredientRecord("Rum", "Spirits");
    rum[50] = 2;                                   // Ounces
    rum[51] = char(0xFF);                          // Action
    rum.replace(52, 4, Int32(qint32(0x80ABCDEF))); // the colour
    rum.replace(408, 4, Int32(-5));                // the display text's length
    return FileWithout(
        {IngredientRecord("Spirits", "", {false, false, 0, 0, 3, EveryByte()}),
         IngredientRecord("Caf\xE9\xA0Latte", "", {true, true, 0xFFFFFF, 100, 255, "\r\n\r"}),
         IngredientRecord("Gin", "Spirits", {true, false, 0x123456, 150, 254, "lone\n"}), rum,
         IngredientRecord("Bitters", "Spirits"),
         IngredientRecord("Loose", "Ingredients", {true, false, 0, 5, 0, "x"}),
         IngredientRecord("Soda\xA0Water", "gIN", {true, false, 0, 0, 0, {}})},
        leftOut);
}

// Lines in priority order, as the save writes them. Gin Fizz names its glass in other letter
// case, has a level and a priority the choosers do not offer, a line naming an ingredient in
// other letter case and one with bytes after a NUL; the third recipe's glass field has such
// bytes too.
QByteArray RecipesFile(int leftOut = -1)
{
    return FileWithout(
        {RecipeRecord("Gin Fizz", "highball", EveryByte(),
                      {Line("Gin", 32, 0), Line("Soda\xA0Water", 255, 1), Line("rUM", 1, 9),
                       Line(QByteArray("Odd\0\0 x", 8), 7, 12)},
                      25, 3),
         RecipeRecord("Absinthe", "", "", {}),
         RecipeRecord(HighName, QByteArray("Unknown Glass\0\0 x", 18), "\n\r\n\r", {}, 0),
         RecipeRecord("Plain", "", "", {Line("Gin", 0, 0)}, 19)},
        leftOut);
}

struct Windows {
    frmGlasses* glasses;
    frmIngredients* ingredients;
    frmRecipes* recipes;
    QList<MdiChild*> All() const { return {glasses, ingredients, recipes}; }
    QList<QWidget*> Views() const { return {glasses->LV, ingredients->TV, recipes->lvRecipes}; }
};

// Starts the editor on the program folder and opens the three editors.
Windows OpenEditors()
{
    StartMainWindow();
    ActivateMainWindow();
    frmMain* main = frmMain::Instance();
    main->mnuShowAllEditors->trigger();
    for (QPushButton* button : {main->cmdGlasses, main->cmdIngredients, main->cmdRecipes})
        button->click();
    return {main->GlassEditor, main->IngredientEditor, main->RecipeEditor};
}

// The last loads of the four databases took every record of their files.
bool LoadedCleanly()
{
    return ReportLoadProblems(
               {Database::Glasses, Database::Ingredients, Database::HelpTopics, Database::Recipes})
        .isEmpty();
}

void OpenRecipeDatabase(frmRecipes* recipes, const QString& path)
{
    platform::OpenFileDialog::SetNextAnswer(path);
    recipes->mnuOpenDatabase->trigger();
}

// The focus moved through every control of `window`, starting at `first`, round and back.
void TabThroughEveryControl(QWidget* first)
{
    first->setFocus();
    for (int i = 0; i < 16; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}

// F2 in `view`, the name replaced by `text` (any characters), `keys` typed in the edit box, and
// Enter. False when no edit box opened.
bool Rename(QWidget* view, const QString& text, const QList<QKeyCombination>& keys = {})
{
    Press(view, Qt::Key_F2);
    for (QLineEdit* box : view->findChildren<QLineEdit*>("labelEditor"))
        if (box->isVisible()) { // an earlier edit's box is hidden, not deleted yet
            box->selectAll();
            box->insert(text);
            for (QKeyCombination key : keys + QList<QKeyCombination>{Qt::Key_Return})
                QTest::keyClick(box, key.key(), key.keyboardModifiers());
            return true;
        }
    return false;
}

// The next picker window gets `ingredient` selected (its name, or its node's position) and Enter
// pressed on Close (0), its tree (1) or OK (2).
template <typename Which> void PickPressingEnterOn(Which ingredient, int control)
{
    platform::ModalWindow::SetDriver([ingredient, control](QDialog& dialog) {
        auto& picker = static_cast<frmAddIngredient&>(dialog);
        picker.TV->setCurrentIndex(picker.TV->IndexOf(picker.TV->Node(ingredient)));
        Press(QList<QWidget*>{picker.cmdClose, picker.TV, picker.cmdOK}[control], Qt::Key_Return);
        QVERIFY(!picker.isVisible());
    });
}

// What a record holds, as one text.
QString Describe(const Glass& glass)
{
    return QStringList{glass.Name, QString::number(glass.HotSpotID), glass.DisplayText}.join('|');
}
QString Describe(const Ingredient& ingredient)
{
    return QString("%1|%2|%3|%4|%5")
        .arg(ingredient.Name(), ingredient.ParentItem(), QString::number(ingredient.HotSpotID()),
             QString::number(ingredient.Opacity()), ingredient.DisplayText());
}
QString Describe(const Recipe& recipe)
{
    QStringList lines;
    for (const auto& line : recipe.RecipeIngredients())
        lines << QStringLiteral("%1/%2/%3").arg(line->Name).arg(line->Amount).arg(line->Priority);
    lines.sort();
    return QStringList{recipe.Name, recipe.Glass, QString::number(recipe.Level),
                       recipe.Instructions, lines.join(',')}
        .join('|');
}

// What a row or node shows: its record as the record holds it, when the record is there under
// the row's key and name.
template <typename T, typename Row>
QString ShownRecord(const KeyedCollection<T>& records, const Row* row)
{
    const auto record = records.Item(row->Key());
    const QString described = record ? Describe(*record) : QString();
    return described.section('|', 0, 0) == row->Text() ? described : "a row without its record";
}

// The records the windows show.
QStringList Shown(const Windows& w)
{
    QStringList shown;
    for (int row = 1; row <= w.glasses->LV->Count(); ++row)
        shown << "glass " + ShownRecord(colGlasses, w.glasses->LV->Item(row));
    for (int position = 2; position <= w.ingredients->TV->Count(); ++position) // 1: the root
        shown << "ingredient " + ShownRecord(colIngredients, w.ingredients->TV->Node(position));
    for (int row = 1; row <= w.recipes->lvRecipes->Count(); ++row)
        shown << "recipe " + ShownRecord(colRecipes, w.recipes->lvRecipes->Item(row));
    shown.sort();
    return shown;
}

// Every record of the collections.
QStringList Stored()
{
    QStringList stored;
    for (const auto& glass : colGlasses)
        stored << "glass " + Describe(*glass);
    for (const auto& ingredient : colIngredients)
        stored << "ingredient " + Describe(*ingredient);
    for (const auto& recipe : colRecipes)
        stored << "recipe " + Describe(*recipe);
    stored.sort();
    return stored;
}

// Names a user might type: spaces at the ends, longer than a field, other letter case, the
// tree's root, characters outside the code page, empty, and names already there.
QString RandomName(QRandomGenerator& random)
{
    static const QStringList names =
        QString::fromUtf8(
            "Coupe|coupe| Coupe |Ingredients|iNGREDIENTS|gin ||   |Plain|Highball|"
            "New Recipe (change this)|%1ong one|%1ong two|%2 x|Ωmega|Caf\u00e9\u00a0Noir")
            .arg(QString(50, 'L'), QString(49, 'S'))
            .split('|');
    return random.bounded(4) == 0 ? QStringLiteral("N%1").arg(random.bounded(1000))
                                  : names.at(random.bounded(int(names.size())));
}

// The rows of a list, or the nodes of a tree.
int RowCount(QWidget* view)
{
    auto* tree = dynamic_cast<platform::TreeView*>(view);
    return tree ? tree->Count() : static_cast<platform::ListView*>(view)->Count();
}

// Clicks a row of a list or a node of a tree: `row` is its position (from 1) or its name.
template <typename Which> void Click(QWidget* view, Which row)
{
    if (auto* tree = dynamic_cast<platform::TreeView*>(view))
        ClickRow(tree, tree->Node(row));
    else
        ClickRow(static_cast<platform::ListView*>(view),
                 static_cast<platform::ListView*>(view)->Item(row));
}

// Clicks a random row of a list or node of a tree; false when the list is empty.
bool ClickRandomRow(QWidget* view, QRandomGenerator& random)
{
    const int count = RowCount(view);
    if (count > 0)
        Click(view, 1 + random.bounded(count));
    return count > 0;
}

void ChooseIndex(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

// One random user action on the real windows.
void RandomAction(const Windows& w, QRandomGenerator& random)
{
    frmRecipes* recipes = w.recipes;
    const int action = random.bounded(17);
    if (action < 9) { // add, rename or remove a glass, an ingredient or a recipe
        QWidget* view = w.Views().at(action / 3);
        if (!ClickRandomRow(view, random) && action % 3 != 0)
            return;
        if (action % 3 == 1)
            Rename(view, RandomName(random));
        else
            Press(view, action % 3 == 0 ? Qt::Key_Insert : Qt::Key_Delete, MsgAnswer::Yes);
        return;
    }
    if (action == 9 && ClickRandomRow(w.glasses->LV, random))
        ChooseIndex(w.glasses->cboHotspotID, random.bounded(256));
    if (action == 10) {
        OpenRecipeDatabase(recipes, DataPath + "Other.Dat");
        OpenRecipeDatabase(recipes, DataPath + "Recipes.Dat");
    }
    // The rest change the selected recipe, or its selected line.
    if (action <= 10 || !ClickRandomRow(recipes->lvRecipes, random) ||
        (action >= 14 && !ClickRandomRow(recipes->lvRecipeIng, random)))
        return;
    if (action == 11 && recipes->cboGlass->count() > 0)
        ChooseIndex(recipes->cboGlass, random.bounded(recipes->cboGlass->count()));
    else if (action == 12)
        ChooseIndex(recipes->cboLevel, random.bounded(20));
    else if (action == 13) {
        const int count = colIngredients.Count(); // the picker's tree: the root, then these
        PickPressingEnterOn(count > 0 ? 2 + random.bounded(count) : 1, count > 0 ? 2 : 0);
        Press(recipes->lvRecipeIng, Qt::Key_Insert);
    } else if (action == 14) {
        recipes->cboAmount->setFocus();
        ChooseIndex(recipes->cboAmount, random.bounded(256));
        recipes->lvRecipeIng->setFocus(); // the amount is stored as the focus leaves
    } else if (action == 15) {
        ChooseIndex(recipes->cboPriority, random.bounded(10));
    } else if (action == 16) {
        Retype(recipes->txtInstructions, QStringLiteral(" Stir"));
        if (random.bounded(2)) {
            QTest::keyClick(recipes->txtInstructions, Qt::Key_Return);
            QTest::keyClicks(recipes->txtInstructions, QStringLiteral("well. "));
        }
        recipes->lvRecipes->setFocus(); // the instructions are stored as the focus leaves
    }
}

} // namespace

class TestIntegrity : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFolder> folder;

    void WriteDatabase()
    {
        folder.reset(); // before the next one, as the program folder is the last one made
        folder = std::make_unique<ProgramFolder>();
        folder->WriteDataFile("Glasses.Dat", GlassesFile("  lead"));
        folder->WriteDataFile("Ingredients.Dat", IngredientsFile());
        folder->WriteDataFile("Recipes.Dat", RecipesFile());
        folder->WriteDataFile("Help.Dat", DatabaseFile({HelpRecord("Topic", "Text.")}));
        folder->WriteDataFile("Other.Dat", DatabaseFile({RecipeRecord("Elsewhere", "", "", {})}));
    }

private slots:
    void init() { WriteDatabase(); }
    void cleanup()
    {
        CloseMainWindow();
        folder.reset();
    }

    // What only looks, and what is done to other records, leaves a record's bytes alone. Looking:
    // every record selected in every window, the focus moved through every control, the colour
    // dialog confirmed on the red, green and blue it starts from, every recipe of the browser,
    // the recipe lists sorted by every column, the picker closed without a choice, every problem
    // of the check window opened, the help, another recipe database opened and the first one
    // again, the editors closed and opened again. Other records: a record of each kind and a
    // recipe line added and removed again; one record of each file removed; the last record of
    // each file renamed and named back (it stays last, and the recipe lines that name the
    // ingredient follow it there and back). What the save itself normalises: fixed text fields
    // lose the spaces they start with (the glasses' asset fields here), top-level ingredients are
    // written first and a recipe's lines in priority order (the fixture is in that order
    // already). A further session keeps the files as it read them.
    void lookingAndOtherEditsRewriteNothing()
    {
        const Windows w = OpenEditors();
        frmMain* main = frmMain::Instance();
        main->cmdBrowse->click();
        // An ingredient whose parent is the root's name hangs under the root.
        QVERIFY(ChildTexts(w.ingredients->TV->Node("Ingredients")).contains("Loose"));
        // With each row of each list: the selected ingredient's colour and the selected
        // recipe's lines.
        for (QWidget* view : w.Views())
            for (int row = 1; row <= RowCount(view); ++row) {
                Click(view, row);
                TabThroughEveryControl(view);
                if (const auto ingredient = w.ingredients->SelectedIngredient) {
                    platform::ColorDialog::SetNextAnswer(ingredient->Color() & 0xFFFFFF);
                    QTest::mouseClick(w.ingredients->cmdColor, Qt::LeftButton);
                }
                for (int line = 1; line <= w.recipes->lvRecipeIng->Count(); ++line) {
                    ClickRow(w.recipes->lvRecipeIng, line);
                    TabThroughEveryControl(view);
                }
            }
        for (int row = 1; row <= main->RecipeBrowser->lvRecipes->Count(); ++row)
            ClickRow(main->RecipeBrowser->lvRecipes, row);

        // The record removed is the first glass, an ingredient between others and the first
        // recipe by name (the second in the file); the one renamed and named back is the last.
        const QStringList removed = {"Spare", "Bitters", "Absinthe"};
        const QStringList last = {"Flute", QString::fromLatin1("Soda\xA0Water"), "Plain"};
        for (int kind = 0; kind < 3; ++kind) {
            QWidget* view = w.Views()[kind];
            Press(view, Qt::Key_Insert, MsgAnswer::Yes);
            Press(view, Qt::Key_Delete, MsgAnswer::Yes);
            Click(view, removed[kind]);
            Press(view, Qt::Key_Delete, MsgAnswer::Yes);
            Click(view, last[kind]);
            QVERIFY(Rename(view, "Renamed") && Stored().join(' ').contains("Renamed"));
            QVERIFY(Rename(view, last[kind]));
        }
        for (int control : {2, 0}) { // a line added to Plain, and the picker closed
            PickPressingEnterOn("Gin", control);
            Press(w.recipes->lvRecipeIng, Qt::Key_Insert);
        }
        QCOMPARE(w.recipes->lvRecipeIng->Count(), 2);
        Press(w.recipes->lvRecipeIng, Qt::Key_Delete, MsgAnswer::Yes);
        Click(w.recipes->lvRecipes, "Gin Fizz");
        QCOMPARE(w.recipes->cboGlass->currentText(), QString("Highball")); // the glass's spelling
        for (platform::ListView* list : {w.recipes->lvRecipes, w.recipes->lvRecipeIng})
            for (int column : {1, 2, 1, 2, 2})
                list->ColumnClick(column);

        main->cmdShowHelp->click();
        main->mnuCheckDatabase->trigger();
        platform::ListView* problems = main->DatabaseCheck->lvProblems;
        QVERIFY(problems->Count() > 1);
        for (int row = 1; row <= problems->Count(); ++row) {
            problems->SetSelectedItem(problems->Item(row));
            Press(problems, Qt::Key_Return);
        }
        OpenRecipeDatabase(w.recipes, DataPath + "Other.Dat");
        OpenRecipeDatabase(w.recipes, DataPath + "Recipes.Dat");
        for (MdiChild* window : w.All())
            window->parentWidget()->close(); // its child window of the main window
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!main->GlassEditor && !main->IngredientEditor && !main->RecipeEditor);
        for (QPushButton* button : {main->cmdGlasses, main->cmdIngredients, main->cmdRecipes})
            button->click();
        QVERIFY(main->GlassEditor && main->IngredientEditor && main->RecipeEditor);
        CloseMainWindow();
        for (bool again : {true, false}) {
            QCOMPARE(folder->ReadDataFile("Glasses.Dat"), GlassesFile("lead", 0));
            QCOMPARE(folder->ReadDataFile("Ingredients.Dat"), IngredientsFile(4));
            QCOMPARE(folder->ReadDataFile("Recipes.Dat"), RecipesFile(1));
            QCOMPARE(folder->ReadDataFile("Other.Dat"),
                     DatabaseFile({RecipeRecord("Elsewhere", "", "", {})}));
            if (again) { // a further session reads and writes the files
                OpenEditors();
                QVERIFY(LoadedCleanly());
                CloseMainWindow();
            }
        }
    }

    // A few hundred random sequences of edits on the real windows, each followed by a save and
    // a load of the three files: what the windows showed is exactly what comes back, and every
    // file loads cleanly. The last sequence of each seed ends with the real exit and start.
    void randomEditsComeBackAsTheWindowsShowedThem()
    {
        for (quint32 seed = 1; seed <= 8; ++seed) {
            WriteDatabase();
            QRandomGenerator random(seed);
            const Windows w = OpenEditors();
            for (int sequence = 1; sequence <= 25; ++sequence) {
                const QString where = QString("seed %1 sequence %2").arg(seed).arg(sequence);
                for (int action = 0; action < 6; ++action)
                    RandomAction(w, random);
                const QStringList shown = Shown(w);
                QVERIFY2(Stored() == shown, qPrintable(where + ": a record the windows hide"));
                QVERIFY((SaveGlasses() + SaveIngredients() + SaveRecipes()).isEmpty());
                LoadGlasses();
                LoadIngredients();
                LoadRecipes();
                QVERIFY2(LoadedCleanly(), qPrintable(where + ": a load error"));
                QVERIFY2(Stored() == shown, qPrintable(where + ": the files differ"));
                for (MdiChild* window : w.All())
                    window->Form_Load();
            }
            const QStringList shown = Shown(w);
            CloseMainWindow();
            OpenEditors();
            QVERIFY(LoadedCleanly());
            QCOMPARE(Stored(), shown);
            CloseMainWindow();
        }
    }

    // Names are checked as the files will hold them: trimmed, cut to 50 characters, only
    // characters of the code page, never the tree's root. The random sessions prove that no
    // name accepted is lost; here, what the user is told of a name refused. Insert, Delete and
    // F2 typed while a name is being edited stay in the edit box. A text box gives back exactly
    // what it was given while it shows that text (also after typing and undoing); typed line
    // breaks are CR LF; typed or pasted characters the files cannot hold become "?" with one
    // message.
    void namesAndTextsAreTakenOnlyAsTheFilesHoldThem()
    {
        const Windows w = OpenEditors();
        const QString outside = "A name cannot hold the character '%1': the database files hold "
                                "only the characters of the Windows-1252 code page.";
        for (int kind = 0; kind < 3; ++kind)
            Click(w.Views()[kind], QStringList{"Flute", "Loose", "Gin Fizz"}[kind]);
        const QList<std::tuple<QWidget*, QString, QString>> refusals = {
            {w.glasses->LV, " Coupe ", "Glass 'Coupe' already in the database."},
            {w.glasses->LV, "Ωmega", outside.arg("Ω")},
            {w.recipes->lvRecipes, "Plain" + QString(45, ' ') + "cut off",
             "Recipe 'Plain' already in the database."},
            {w.recipes->lvRecipes, "Ψmega", outside.arg("Ψ")},
            {w.ingredients->TV, "Ingredients", "Ingredient already in the database."},
            {w.ingredients->TV, " iNGREDIENTS ", "Ingredient already in the database."},
            {w.ingredients->TV, "Snow☃", outside.arg("☃")},
        };
        const QStringList before = Stored();
        for (const auto& [view, name, refusal] : refusals) {
            QVERIFY(Rename(view, name));
            QVERIFY2(Refused(refusal) && Stored() == before, qPrintable(name));
        }

        // Insert, Delete and F2 stay in the box; Home and Delete there leave "ame X". So do the
        // menus' shortcuts: Ctrl+O would open another recipe file and give the half typed name
        // to a recipe there, Ctrl+K would check before the name is in.
        const qsizetype fileDialogs = platform::OpenFileDialog::Shown().size();
        const QList<QKeyCombination> keys = {
            Qt::Key_Insert,       Qt::Key_Delete, Qt::Key_F2,    Qt::CTRL | Qt::Key_O,
            Qt::CTRL | Qt::Key_K, Qt::Key_Home,   Qt::Key_Delete};
        for (QWidget* view : w.Views())
            QVERIFY(Rename(view, "Name X", keys) && MessageBox::Shown().isEmpty() &&
                    Stored().size() == before.size());
        QCOMPARE(Stored().filter(" ame X|").size(), 3); // a glass, an ingredient and a recipe
        QCOMPARE(platform::OpenFileDialog::Shown().size(), fileDialogs);
        QVERIFY(!frmMain::Instance()->DatabaseCheck);
        // The box's own menu (Cut, Copy, Paste ...) takes the focus while it is open; the edit
        // goes on.
        Press(w.recipes->lvRecipes, Qt::Key_F2);
        QContextMenuEvent menuRequest(QContextMenuEvent::Keyboard, QPoint(1, 1), QPoint(1, 1));
        QApplication::sendEvent(QApplication::focusWidget(), &menuRequest);
        QVERIFY(QApplication::activePopupWidget());
        QApplication::activePopupWidget()->close();
        QVERIFY(w.recipes->lvRecipes->IsEditingLabel());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);

        platform::TextBox* box = w.recipes->txtInstructions;
        const QString given = QString("\u00A0 a\rb\nc\r\nd\u2028e") + QChar(0) + " ";
        box->SetText(given);
        box->setFocus();
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, "y");
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier); // typed and undone
        QCOMPARE(box->Text(), given);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(box, "z");
        // Each stored break was one line break of the box; every break is CR LF once typed in.
        QCOMPARE(box->Text(), QString("\u00A0 a\r\nb\r\nc\r\nd\u2028e") + QChar(0) + " \r\n\r\nz");

        const QString replaced = "The database files cannot hold these characters, so they were "
                                 "replaced by \"?\": ";
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString("☃"), Qt::NoModifier);
        QVERIFY(Refused(replaced + "☃"));
        MessageBox::ClearShown();
        QApplication::clipboard()->setText("Snow☃man ✓☃\u2028end");
        box->paste();
        QVERIFY(box->Text().endsWith("z?Snow?man ??\r\nend"));
        QVERIFY(Refused(replaced + "☃ ✓"));
        w.recipes->lvRecipes->setFocus();
        QVERIFY(w.recipes->CurrentRecipe()->Instructions.endsWith("z?Snow?man ??\r\nend"));
    }

    // Enter moves on as Tab would and never leaves the child window; a chooser with nothing to
    // show shows nothing. A focused button takes Enter; in the picker OK takes it while no button
    // has the focus.
    void enterMovesOnOrPressesTheFocusedButton()
    {
        folder->WriteDataFile("Glasses.Dat", Int32(0));
        const Windows w = OpenEditors();
        const auto enterKeepsFocusIn = [](QWidget* window, QWidget* control) {
            Press(control, Qt::Key_Return);
            return window->isAncestorOf(QApplication::focusWidget());
        };
        QVERIFY(enterKeepsFocusIn(w.glasses, w.glasses->LV)); // an empty glass list
        QCOMPARE(w.glasses->cboHotspotID->currentIndex(), -1);
        QVERIFY(enterKeepsFocusIn(w.ingredients, w.ingredients->TV)); // the root selected
        QCOMPARE(w.ingredients->cboHotspotID->currentIndex(), -1);
        ClickRow(w.ingredients->TV, w.ingredients->TV->Node("Gin"));
        QVERIFY(enterKeepsFocusIn(w.ingredients, w.ingredients->chkAction));
        QCOMPARE(QApplication::focusWidget(), w.ingredients->TV); // round to the first control
        QVERIFY(enterKeepsFocusIn(w.ingredients, w.ingredients->cboHotspotID));
        QCOMPARE(QApplication::focusWidget(), w.ingredients->cmdColor);

        ClickRow(w.recipes->lvRecipes, w.recipes->lvRecipes->Item("Plain"));
        for (int control = 0; control < 3; ++control) { // Close adds nothing, the others Gin
            PickPressingEnterOn("Gin", control);
            Press(w.recipes->lvRecipeIng, Qt::Key_Insert);
            QCOMPARE(w.recipes->CurrentRecipe()->RecipeIngredients().Count(), 1 + control);
        }

        platform::ColorDialog::SetNextAnswer(0x654321);
        Press(w.ingredients->cmdColor, Qt::Key_Return);
        QCOMPARE(colIngredients.Item("Gin")->Color(), 0x654321);
        QVERIFY(ActivateMainWindow());
        Press(frmMain::Instance()->cmdBrowse, Qt::Key_Enter);
        QVERIFY(frmMain::Instance()->RecipeBrowser);
    }

    // The browser's list follows the recipe editor; a card shows the recipe of its row.
    void theBrowserFollowsTheRecipeEditor()
    {
        const Windows w = OpenEditors();
        frmMain::Instance()->cmdBrowse->click();
        frmBrowse* browser = frmMain::Instance()->RecipeBrowser;
        const auto cardsMatchRows = [&] {
            for (int row = 1; row <= browser->lvRecipes->Count(); ++row) {
                ClickRow(browser->lvRecipes, row);
                if (browser->lblName->text() != browser->lvRecipes->Item(row)->Text())
                    return false;
            }
            return browser->lvRecipes->Count() == colRecipes.Count();
        };
        ClickRow(browser->lvRecipes, browser->lvRecipes->Item("Plain"));

        ClickRow(w.recipes->lvRecipes, w.recipes->lvRecipes->Item("Gin Fizz"));
        QVERIFY(Rename(w.recipes->lvRecipes, "Gin Fizz Renamed"));
        QCOMPARE(browser->lvRecipes->SelectedItem()->Text(), QString("Plain"));
        QCOMPARE(browser->lblName->text(), QString("Plain"));
        QVERIFY(cardsMatchRows());

        Press(w.recipes->lvRecipes, Qt::Key_Insert, MsgAnswer::Yes);
        QVERIFY(cardsMatchRows());

        ClickRow(browser->lvRecipes, browser->lvRecipes->Item("Plain"));
        ClickRow(w.recipes->lvRecipes, w.recipes->lvRecipes->Item("Plain"));
        Press(w.recipes->lvRecipes, Qt::Key_Delete, MsgAnswer::Yes);
        QCOMPARE(browser->lblName->text(), browser->lvRecipes->SelectedItem()->Text());
        QVERIFY(cardsMatchRows());

        // The card shows the edits of the recipe it shows at once: its glass and lines in the
        // recipe editor, its ingredients' names in the ingredient editor.
        ClickRow(browser->lvRecipes, browser->lvRecipes->Item("Gin Fizz Renamed"));
        ClickRow(w.recipes->lvRecipes, w.recipes->lvRecipes->Item("Gin Fizz Renamed"));
        Choose(w.recipes->cboGlass, "Coupe");
        QCOMPARE(browser->lblGlass->text(), QString("Coupe"));
        QVERIFY(browser->lblIngs->text().startsWith("Gin\n"));
        ClickRow(w.recipes->lvRecipeIng, w.recipes->lvRecipeIng->Item(1));
        Press(w.recipes->lvRecipeIng, Qt::Key_Delete, MsgAnswer::Yes);
        QVERIFY(!browser->lblIngs->text().contains("rUM"));
        ClickRow(w.ingredients->TV, w.ingredients->TV->Node(QString("Soda\u00A0Water")));
        QVERIFY(Rename(w.ingredients->TV, "Soda"));
        QVERIFY(browser->lblIngs->text().startsWith("Gin\nSoda\n"));

        OpenRecipeDatabase(w.recipes, DataPath + "Fresh.Dat");
        QCOMPARE(browser->lvRecipes->Count(), 0);
        QVERIFY(browser->lblName->text().isEmpty());
    }

    // Open Database refuses the other databases, asks before taking a file that does not read
    // as recipes, and starts a new recipe database under a new name.
    void openDatabaseNeverTakesAnotherDatabase()
    {
        const Windows w = OpenEditors();
        // Opens `name`, its message answered `answer`; the path as the messages show it.
        const auto openAnswering = [&](const QString& name, MsgAnswer answer = MsgAnswer::OK) {
            MessageBox::ClearShown();
            MessageBox::SetNextAnswer(answer);
            OpenRecipeDatabase(w.recipes, DataPath + name);
            return QDir::toNativeSeparators(DataPath + name);
        };
        // The other databases, and a new name in a folder that does not exist (the file could
        // never be written), are refused.
        const QString other = "'%1' is one of the editor's other database files; it cannot be "
                              "opened as the recipe database.";
        const QList<QPair<QString, QString>> refusals = {
            {"Help.Dat", other},
            {"Glasses.Dat", other},
            {"Ingredients.Dat", other},
            {"Missing/New.Dat", "'%1' could not be opened: No such file or directory."}};
        for (const auto& [name, refusal] : refusals) {
            QVERIFY(Refused(refusal.arg(openAnswering(name)), "INVALID ACTION"));
            QCOMPARE(RecipeDatabasePath, DataPath + "Recipes.Dat");
        }

        // No record missing, one byte too many (the question names only the byte); three records
        // announced, one readable, then bytes that are no record; a file a save could not
        // replace (its backup's place is taken by a folder). Each is opened only when the user
        // says so.
        folder->WriteDataFile("Odd.Dat", Int32(-1) + Byte(0));
        folder->WriteDataFile("Damaged.Dat",
                              Int32(3) + RecipeRecord("Readable", "", "", {}) + Bytes(20, '\x7F'));
        folder->WriteDataFile("Kept.Dat", Int32(1) + RecipeRecord("Kept", "", "", {}));
        QVERIFY(QDir(DataPath).mkdir("Kept.Dat.bak"));
        const QString unreadable = "'%1' does not look like a recipe database: %2 after the last "
                                   "record could not be read. Open it anyway? Every exit "
                                   "rewrites it.";
        const QList<QPair<QString, QString>> questions = {
            {"Odd.Dat", unreadable.arg("%1", "1 byte")},
            {"Damaged.Dat", unreadable.arg("%1", "2 records and 20 bytes")},
            {"Kept.Dat", "Changes to '%1' cannot be saved: Kept.Dat.bak is not a regular file. "
                         "Open it anyway?"}};
        for (const auto& [name, question] : questions)
            for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
                const QString asked = question.arg(openAnswering(name, answer));
                const auto& shown = MessageBox::Shown();
                QVERIFY(shown.size() == 1 && shown[0].text == asked &&
                        shown[0].title == "OPEN DATABASE" &&
                        shown[0].buttons == platform::MsgButtons::YesNoDefaultNo);
                QCOMPARE(RecipeDatabasePath == DataPath + name, answer == MsgAnswer::Yes);
            }
        QCOMPARE(RowTexts(w.recipes->lvRecipes), QStringList({"Kept"}));

        OpenRecipeDatabase(w.recipes, DataPath + "New.Dat");
        QCOMPARE(w.recipes->lvRecipes->Count(), 0);
        Press(w.recipes->lvRecipes, Qt::Key_Insert, MsgAnswer::Yes);
        CloseMainWindow();
        QCOMPARE(folder->ReadDataFile("Help.Dat"), DatabaseFile({HelpRecord("Topic", "Text.")}));
        QCOMPARE(folder->ReadDataFile("Ingredients.Dat"), IngredientsFile());
        QCOMPARE(folder->ReadDataFile("Recipes.Dat"), RecipesFile());
        QCOMPARE(folder->ReadDataFile("New.Dat"),
                 DatabaseFile({RecipeRecord("New Recipe (change this)", "", "", {})}));
    }

    // Turning the wheel over a chooser on the way through a window chooses nothing; a chooser
    // that has the focus takes it. Every chooser takes the focus by Tab and by a click, never by
    // the wheel (a wheel turn sent by a test gives no focus, so this is read from the chooser).
    void theWheelChoosesOnlyInAFocusedChooser()
    {
        const Windows w = OpenEditors();
        for (const platform::Chooser* box : frmMain::Instance()->findChildren<platform::Chooser*>())
            QCOMPARE(box->focusPolicy(), Qt::StrongFocus);
        ClickRow(w.recipes->lvRecipes, w.recipes->lvRecipes->Item("Absinthe"));
        const std::shared_ptr<Recipe> recipe = w.recipes->CurrentRecipe();
        const QString before = Describe(*recipe);
        const auto wheelChooses = [](QComboBox* box) {
            const int shown = box->currentIndex();
            TurnWheel(box);
            return box->currentIndex() != shown;
        };
        w.recipes->lvRecipes->setFocus();
        QVERIFY(!wheelChooses(w.recipes->cboGlass) && !wheelChooses(w.recipes->cboLevel));
        QCOMPARE(Describe(*recipe), before);
        w.recipes->cboLevel->setFocus();
        QVERIFY(wheelChooses(w.recipes->cboLevel));
        QVERIFY(Describe(*recipe) != before);
    }
    // Opening a chooser's list, a text box's own menu or a menu of the window leaves the focus in
    // the control: its hint stays, and an amount or instructions being chosen or typed is stored
    // only once the focus moves on, or the editor ends.
    void aListOrMenuOpenedOverAControlKeepsTheFocus()
    {
        const Windows w = OpenEditors();
        frmRecipes* recipes = w.recipes;
        ClickRow(recipes->lvRecipes, recipes->lvRecipes->Item("Plain"));
        const auto line = recipes->CurrentIngredient();
        const auto hint = [] { return frmMain::Instance()->txtHelp->toPlainText(); };
        recipes->cboAmount->setFocus();
        QTest::keyClick(recipes->cboAmount, Qt::Key_Down);
        recipes->cboAmount->showPopup();
        QVERIFY(QApplication::activePopupWidget());
        QCOMPARE(line->Amount, 0.0);
        recipes->cboAmount->hidePopup();
        recipes->cboLevel->setFocus();
        QCOMPARE(line->Amount, 1.0);
        recipes->cboLevel->showPopup();
        QCOMPARE(hint(), QString("Select the skill level for the current ingredient here ..."));
        recipes->cboLevel->hidePopup();

        Retype(recipes->txtInstructions, "Stir.");
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
        QApplication::sendEvent(recipes->txtInstructions->viewport(), &menu);
        QVERIFY(QApplication::activePopupWidget());
        QCOMPARE(hint(), QString("Edit the instructions for the current recipe here ..."));
        QCOMPARE(recipes->CurrentRecipe()->Instructions, QString());
        QApplication::activePopupWidget()->close();
        recipes->lvRecipes->setFocus();
        QCOMPARE(recipes->CurrentRecipe()->Instructions, QString("Stir."));
        // The list's hint goes when the focus leaves the list from its name box.
        QTest::keyClick(recipes->lvRecipes, Qt::Key_F2);
        QTest::keyClicks(QApplication::focusWidget(), "Plainer");
        recipes->cboAmount->setFocus();
        QCOMPARE(hint(), QString());

        // So does a menu of the window; Quit stores what is being typed before the files are
        // written.
        Retype(recipes->txtInstructions, "Shake.");
        QMenuBar* bar = frmMain::Instance()->menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(frmMain::Instance()->mnuFile->menuAction()).center());
        QCOMPARE(QApplication::activePopupWidget(), frmMain::Instance()->mnuFile);
        QApplication::activePopupWidget()->close();
        QCOMPARE(recipes->CurrentRecipe()->Instructions, QString("Stir."));
        frmMain::Instance()->mnuQuit->trigger();
        StartMainWindow();
        QCOMPARE(colRecipes.Item("Plainer")->Instructions, QString("Shake."));
    }
};

QTEST_MAIN(TestIntegrity)
#include "test_integrity.moc"
