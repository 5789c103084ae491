#include "frmCheck.h"

#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "editors/EditorParts.h"
#include "editors/frmGlasses.h"
#include "editors/frmIngredients.h"
#include "editors/frmRecipes.h"
#include "platform/Controls.h"
#include "platform/Keys.h"
#include "platform/ListView.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"
#include "store/modCellarix.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

using namespace modCellarix;
using CheckDatabase::Problem;

namespace {
// Client area and button, in twips; the window fits beside the toolbox of a main window of
// its designed size.
constexpr int ClientWidth = 9000, ClientHeight = 4800;
constexpr int ButtonWidth = 1455, ButtonHeight = 375, Gap = 60;

// The record `problem` is about, as its collection holds it now; none when there is none.
std::shared_ptr<void> RecordOf(const Problem& problem)
{
    switch (problem.database) {
    case Database::Glasses:
        return colGlasses.Item(problem.name);
    case Database::Ingredients:
        return colIngredients.Item(problem.name);
    case Database::Recipes:
        return colRecipes.Item(problem.name);
    case Database::HelpTopics: // never edited: there is nothing to open
        break;
    }
    return nullptr;
}

// Selects `row` of an editor's list as a click on it would, and puts the focus there.
void ClickListRow(platform::ListView* list, platform::ListItem* row)
{
    list->SetSelectedItem(row);
    list->EnsureVisible(row);
    list->ItemClick(row);
    list->setFocus();
}
} // namespace

frmCheck::frmCheck()
{
    setWindowTitle(QStringLiteral("Database Check"));
    lvProblems = new platform::ListView(this);
    lvProblems->setAccessibleName(QStringLiteral("Problems"));
    for (const char* header : {"File", "Record", "Field", "Problem"})
        lvProblems->AddColumn(QLatin1String(header));
    lblNoProblems = new QLabel(QStringLiteral("No problems found."), lvProblems->viewport());
    lblNoProblems->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(lvProblems->viewport()))->addWidget(lblNoProblems);
    cmdCheckAgain = new platform::CommandButton(QStringLiteral("Check Again"), this);
    cmdCheckAgain->setAccessibleName(cmdCheckAgain->text());
    setTabOrder(lvProblems, cmdCheckAgain);

    lvProblems->ColumnClick = [this](int column) { SortByColumn(lvProblems, column, false); };
    connect(lvProblems, &QAbstractItemView::doubleClicked, this, [this] { lvProblems_DblClick(); });
    platform::OnKeys(
        lvProblems,
        [this](int& code, int) {
            if (code == platform::KeyCode::Enter) {
                code = 0;
                lvProblems_DblClick();
            }
        },
        nullptr);
    connect(cmdCheckAgain, &QPushButton::clicked, this, [this] { cmdCheckAgain_Click(); });
    EditorParts::Hint(lvProblems,
                      QStringLiteral("Double-click a problem to open the record it is about ..."));
}

void frmCheck::Form_Load()
{
    MoveToTopLeft();
    SetClientSize(ClientWidth, ClientHeight);
    // Shown at its size before it is filled, so that showing it does not lay out a long list
    // again.
    if (SubWindow())
        SubWindow()->show();
    cmdCheckAgain_Click();
}

void frmCheck::cmdCheckAgain_Click()
{
    problems = CheckDatabase::Check();
    lvProblems->SetSelectedItem(nullptr);
    lvProblems->Clear();
    lvProblems->SetSorted(false); // in the order found until a column is clicked
    QString fileNames[4];         // by database: every row of a file shares its text
    for (Database database :
         {Database::Glasses, Database::Ingredients, Database::HelpTopics, Database::Recipes})
        fileNames[int(database)] = CheckDatabase::FileName(database);
    for (int i = 0; i < problems.size(); ++i) {
        const Problem& problem = problems[i];
        lvProblems
            ->Add(QString::number(i),
                  {fileNames[int(problem.database)], CheckDatabase::RecordText(problem),
                   problem.field, problem.message})
            ->Tag = i;
    }
    for (int i = 1; i <= lvProblems->ColumnCount(); ++i)
        lvProblems->SetColumnTag(i, QString());
    AutoSizeColumns(lvProblems);
    lblNoProblems->setVisible(problems.isEmpty());
    // A screen reader, which does not read the note over the rows, hears it with the list.
    lvProblems->setAccessibleDescription(problems.isEmpty() ? lblNoProblems->text() : QString());
    if (lvProblems->Count() > 0)
        lvProblems->SetSelectedItem(lvProblems->Item(1));
    SetCaption();
    lvProblems->setFocus();
}

void frmCheck::SetCaption()
{
    setWindowTitle(QStringLiteral("Database Check - (%1 Problems)").arg(problems.size()));
}

void frmCheck::lvProblems_DblClick()
{
    const platform::ListItem* row = lvProblems->SelectedItem();
    if (!row)
        return;
    const Problem& problem = problems.at(row->Tag.toInt());
    if (!problem.inMemory || problem.database == Database::HelpTopics) {
        EditorParts::Refuse(
            QStringLiteral("%1: %2\n\nThere is no record in the editors to open "
                           "for this problem.")
                .arg(CheckDatabase::FileName(problem.database), CheckDatabase::Describe(problem)),
            QStringLiteral("DATABASE CHECK"));
        lvProblems->setFocus();
        return;
    }
    if (!StillAsChecked(problem)) {
        EditorParts::Refuse(QStringLiteral("This record has changed since the check; check again."),
                            QStringLiteral("INVALID ACTION"));
        lvProblems->setFocus();
        return;
    }
    OpenRecord(problem);
}

bool frmCheck::StillAsChecked(const Problem& problem)
{
    // The same record under the same name, and for a line, the recipe still has that line.
    if (problem.inMemory != RecordOf(problem))
        return false;
    return problem.line == 0 || static_cast<Recipe*>(problem.inMemory.get())
                                    ->RecipeIngredients()
                                    .Contains(problem.lineKey);
}

void frmCheck::OpenRecord(const Problem& problem)
{
    switch (problem.database) {
    case Database::Recipes:
        OpenRecipe(std::static_pointer_cast<Recipe>(problem.inMemory), problem.lineKey);
        break;
    case Database::Glasses:
        OpenGlass(problem.name);
        break;
    case Database::Ingredients:
        OpenIngredient(problem.name);
        break;
    case Database::HelpTopics:
        break;
    }
}

void frmCheck::OpenRecipe(const std::shared_ptr<Recipe>& recipe, const QString& lineKey)
{
    frmMain* main = frmMain::Instance();
    main->cmdRecipes_Click();
    frmRecipes* editor = main->RecipeEditor;
    ClickListRow(editor->lvRecipes, editor->lvRecipes->Item(recipe->Name));
    if (!lineKey.isEmpty())
        ClickListRow(editor->lvRecipeIng, editor->lvRecipeIng->Item(lineKey));
}

void frmCheck::OpenGlass(const QString& name)
{
    frmMain* main = frmMain::Instance();
    main->mnuShowAllEditors->setChecked(true);
    main->cmdGlasses_Click();
    ClickListRow(main->GlassEditor->LV, main->GlassEditor->LV->Item(name));
}

void frmCheck::OpenIngredient(const QString& name)
{
    frmMain* main = frmMain::Instance();
    main->mnuShowAllEditors->setChecked(true);
    main->cmdIngredients_Click();
    platform::TreeView* tree = main->IngredientEditor->TV;
    platform::TreeNode* node = tree->Node(name);
    if (!node || !node->Parent()) {
        // The tree shows an ingredient under its parent; one whose parent is missing, or is
        // the ingredient itself or below it, has no place in it, nor has one bearing the root's
        // name.
        EditorParts::Refuse(
            node ? QStringLiteral("Ingredient '%1' is not in the tree, as the tree's root bears "
                                  "its name.")
                       .arg(name)
                 : QStringLiteral("Ingredient '%1' is not in the tree, as its parent '%2' is not.")
                       .arg(name, colIngredients.Item(name)->ParentItem()),
            QStringLiteral("INVALID ACTION"));
        tree->setFocus();
        return;
    }
    tree->SetSelectedNode(node);
    tree->EnsureVisible(node);
    tree->NodeClick(node);
    tree->setFocus();
}

void frmCheck::closeEvent(QCloseEvent* event)
{
    ShowHint(QString());
    event->accept();
}

void frmCheck::resizeEvent(QResizeEvent* event)
{
    MdiChild::resizeEvent(event);
    const int width = platform::PixelsToTwipsX(this->width());
    const int height = platform::PixelsToTwipsY(this->height());
    Place(lvProblems, 0, 0, width, qMax(0, height - ButtonHeight - 2 * Gap));
    Place(cmdCheckAgain, qMax(0, width - ButtonWidth - Gap), height - ButtonHeight - Gap,
          ButtonWidth, ButtonHeight);
    AutoSizeColumns(lvProblems);
}
