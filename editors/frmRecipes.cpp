#include "frmRecipes.h"

#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "editors/EditorParts.h"
#include "editors/frmAddIngredient.h"
#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Events.h"
#include "platform/FileSystem.h"
#include "platform/Keys.h"
#include "platform/ListView.h"
#include "platform/MessageBox.h"
#include "records/modGeneralAmounts.h"
#include "store/modCellarix.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>

#include <cmath>

using namespace modCellarix;

namespace {
const QString NewRecipeName = QStringLiteral("New Recipe (change this)");

} // namespace

frmRecipes::frmRecipes()
{
    setWindowTitle(QStringLiteral("Recipe Editor"));

    lvRecipes = new platform::ListView(this);
    lvRecipes->AddColumn(QStringLiteral("Name"));
    lvRecipes->AddColumn(QStringLiteral("Total Ounces"), Qt::AlignRight);
    lblGlass = new QLabel(QStringLiteral("&Glass :"), this);
    cboGlass = new platform::ImageCombo(this);
    lblLevel = new QLabel(QStringLiteral("&Level :"), this);
    cboLevel = new platform::DropDownList(this);
    for (int level = 1; level <= 20; ++level)
        cboLevel->AddItem(QStringLiteral("Level %1").arg(level));
    lvRecipeIng = new platform::ListView(this);
    lvRecipeIng->AddColumn(QStringLiteral("Name"));
    lvRecipeIng->AddColumn(QStringLiteral("Priority"), Qt::AlignRight);
    lblAmount = new QLabel(QStringLiteral("&Amount :"), this);
    lblPriority = new QLabel(QStringLiteral("&Priority :"), this);
    cboPriority = new platform::DropDownList(this);
    txtInstructions = new platform::TextBox(this);
    cboAmount = new platform::DropDownList(this);
    lvRecipes->setAccessibleName(QStringLiteral("Recipes"));
    platform::LinkLabel(lblGlass, cboGlass);
    platform::LinkLabel(lblLevel, cboLevel);
    lvRecipeIng->setAccessibleName(QStringLiteral("Ingredient lines"));
    platform::LinkLabel(lblAmount, cboAmount);
    platform::LinkLabel(lblPriority, cboPriority);
    txtInstructions->setAccessibleName(QStringLiteral("Instructions"));

    Place(lvRecipes, 0, 0, 7380, 1395);
    Place(lblGlass, 120, 1500, 675, 255);
    Place(cboGlass, 840, 1440, 2280, 330);
    Place(lblLevel, 3420, 1500, 675, 255);
    Place(cboLevel, 3960, 1440, 2475, 315);
    Place(lvRecipeIng, 0, 1800, 7380, 1635);
    Place(lblAmount, 120, 3540, 675, 255);
    Place(lblPriority, 2640, 3540, 675, 255);
    Place(cboPriority, 3360, 3480, 4020, 315);
    Place(txtInstructions, 0, 3840, 7380, 1995);
    Place(cboAmount, 840, 3480, 1695, 315);
    setTabOrder(lvRecipes, cboGlass);
    setTabOrder(cboGlass, cboLevel);
    setTabOrder(cboLevel, lvRecipeIng);
    setTabOrder(lvRecipeIng, cboPriority);
    setTabOrder(cboPriority, txtInstructions);
    setTabOrder(txtInstructions, cboAmount);

    mnuActions = new QMenu(QStringLiteral("&Actions"), this);
    mnuOpenDatabase = mnuActions->addAction(QStringLiteral("&Open Database"));
    mnuOpenDatabase->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(mnuOpenDatabase, &QAction::triggered, this, [this] { LoadDatabase(); });

    platform::OnKeys(
        lvRecipes, [this](int& code, int shift) { lvRecipes_KeyDown(code, shift); }, nullptr);
    lvRecipes->AfterLabelEdit = [this](bool& cancel, const QString& text) {
        lvRecipes_AfterLabelEdit(cancel, text);
    };
    lvRecipes->ColumnClick = [this](int column) { SortByColumn(lvRecipes, column, false); };
    lvRecipes->ItemClick = [this](platform::ListItem*) { ShowCurrentRecipe(); };
    cboGlass->Click = [this] { cboGlass_Click(); };
    cboLevel->Click = [this] { cboLevel_Click(); };
    EditorParts::AcceptStorableTextOnly(txtInstructions);
    platform::OnValidate(txtInstructions, [this] { txtInstructions_Validate(); });
    platform::OnKeys(
        lvRecipeIng, [this](int& code, int shift) { lvRecipeIng_KeyDown(code, shift); }, nullptr);
    lvRecipeIng->ColumnClick = [this](int column) { SortByColumn(lvRecipeIng, column, false); };
    lvRecipeIng->ItemClick = [this](platform::ListItem*) { ShowCurrentLine(); };
    cboPriority->Click = [this] { cboPriority_Click(); };
    platform::OnValidate(cboAmount, [this] { cboAmount_Validate(); });

    EditorParts::Hint(lvRecipes,
                      QStringLiteral("Press F2 to edit the name of the recipe, INS to add a new "
                                     "recipe, and DEL to delete the current recipe ..."));
    EditorParts::Hint(cboGlass,
                      QStringLiteral("Select the glass used by the current recipe here ..."));
    EditorParts::Hint(cboLevel,
                      QStringLiteral("Select the skill level for the current ingredient here ..."));
    EditorParts::Hint(txtInstructions,
                      QStringLiteral("Edit the instructions for the current recipe here ..."));
    EditorParts::Hint(lvRecipeIng,
                      QStringLiteral("Press INS to add a new ingredient to the recipe, and DEL "
                                     "to delete the current ingredient from the recipe ..."));
    EditorParts::Hint(cboPriority,
                      QStringLiteral("Edit the priority of the current ingredient here ..."));
}

QList<QAction*> frmRecipes::MenuBarEntries() const
{
    return {mnuActions->menuAction()};
}

void frmRecipes::Form_Load()
{
    EditorParts::RefuseEditsWhenReadOnly(this);
    FillAmountList();
    FillPriorityList();
    cboGlass->Clear();
    for (const auto& glass : colGlasses)
        cboGlass->AddItem(glass->Name, glass->Name);

    lvRecipes->SetSelectedItem(nullptr);
    lvRecipes->Clear();
    lvRecipes->SetSorted(false);    // filled in collection order, sorted once below
    QHash<QString, QString> totals; // rows with equal totals share one text
    for (const auto& recipe : colRecipes) {
        const QString total = TotalText(*recipe);
        auto shared = totals.constFind(total);
        if (shared == totals.constEnd())
            shared = totals.insert(total, total);
        lvRecipes->Add(recipe->Name, {recipe->Name, *shared});
    }

    if (!isMaximized() && !isMinimized()) {
        MoveToTopLeft();
        SetFixedClientSize(7380, 5835);
    }
    if (SubWindow())
        SubWindow()->show();
    show();
    SortByColumn(lvRecipes, 1, true);
    AutoSizeColumns(lvRecipes);
    if (lvRecipes->Count() > 0)
        lvRecipes->SetSelectedItem(lvRecipes->Item(1));
    ShowCurrentRecipe();
    SetCaption();
}

void frmRecipes::SetCaption()
{
    setWindowTitle(QStringLiteral("Recipes - (%1 Entries)").arg(colRecipes.Count()));
}

QString frmRecipes::TotalText(const Recipe& recipe)
{
    const double total = std::nearbyint(recipe.TotalOunces(colIngredients));
    return modGeneralAmounts::FormatOunces(qint32(total));
}

QString frmRecipes::PriorityText(quint8 priority)
{
    return priority + 1 == 10 ? QStringLiteral("Garnish")
                              : QStringLiteral("Priority %1").arg(priority + 1);
}

std::shared_ptr<Recipe> frmRecipes::CurrentRecipe() const
{
    const platform::ListItem* row = lvRecipes->SelectedItem();
    return row ? colRecipes.Item(row->Key()) : nullptr;
}

std::shared_ptr<Glass> frmRecipes::CurrentGlass() const
{
    const QString key = cboGlass->SelectedKey();
    return key.isEmpty() ? nullptr : colGlasses.Item(key);
}

std::shared_ptr<RecipeIngredient> frmRecipes::CurrentIngredient() const
{
    const auto recipe = CurrentRecipe();
    const platform::ListItem* row = lvRecipeIng->SelectedItem();
    return (recipe && row) ? recipe->RecipeIngredients().Item(row->Key()) : nullptr;
}

void frmRecipes::ShowCurrentRecipe()
{
    const auto recipe = CurrentRecipe();
    for (QWidget* control : std::initializer_list<QWidget*>{
             lblGlass, cboGlass, lblLevel, cboLevel, lvRecipeIng, lblAmount, cboAmount, lblPriority,
             cboPriority, txtInstructions})
        control->setEnabled(recipe != nullptr);
    if (!recipe) {
        cboGlass->ClearSelection();
        cboLevel->SetListIndex(-1);
        lvRecipeIng->Clear();
        ShowCurrentLine();
        txtInstructions->SetText(QString());
        return;
    }
    // The glass is found as the glass database finds it, letter case ignored, and shown in its
    // own spelling; the recipe keeps its own until the user chooses. A glass or level the
    // choosers cannot show leaves them empty; the recipe keeps its value until the user chooses.
    const auto glass = recipe->Glass.isEmpty() ? nullptr : colGlasses.Item(recipe->Glass);
    if (!glass || !cboGlass->SetSelectedKey(glass->Name))
        cboGlass->ClearSelection();
    cboLevel->SetListIndex(recipe->Level < cboLevel->count() ? recipe->Level : -1);
    FillLines(*recipe);
    txtInstructions->SetText(recipe->Instructions);
}

void frmRecipes::cboGlass_Click()
{
    const auto glass = CurrentGlass();
    if (!glass) {
        cboGlass->ClearSelection();
        return;
    }
    if (const auto recipe = CurrentRecipe()) {
        recipe->Glass = glass->Name;
        frmMain::Instance()->RecipeEdited();
    }
}

void frmRecipes::cboLevel_Click()
{
    const int index = cboLevel->ListIndex();
    if (index == -1)
        return;
    const auto recipe = CurrentRecipe();
    if (!recipe)
        cboLevel->SetListIndex(-1);
    else
        recipe->Level = quint8(index);
}

void frmRecipes::txtInstructions_Validate()
{
    if (const auto recipe = CurrentRecipe()) {
        recipe->Instructions = txtInstructions->Text();
        frmMain::Instance()->RecipeEdited();
    }
}

void frmRecipes::lvRecipes_KeyDown(int& keyCode, int)
{
    if (keyCode == platform::KeyCode::Insert)
        AddRecipe();
    else if (keyCode == platform::KeyCode::Delete)
        RemoveRecipe();
    else if (keyCode == platform::KeyCode::F2 && CurrentRecipe())
        lvRecipes->StartLabelEdit();
}

void frmRecipes::lvRecipes_AfterLabelEdit(bool& cancel, const QString& newString)
{
    if (EditorParts::RefuseUnstorableName(newString)) {
        lvRecipes->setFocus();
        cancel = true;
        return;
    }
    // The name is checked as the recipe file will hold it.
    const QString name = EditorParts::NameAsStored(newString);
    if (name.isEmpty()) {
        cancel = true;
        return;
    }
    if (colRecipes.Contains(name)) {
        EditorParts::Refuse(QStringLiteral("Recipe '%1' already in the database.").arg(name));
        lvRecipes->setFocus();
        cancel = true;
        return;
    }
    const auto recipe = CurrentRecipe();
    platform::ListItem* row = lvRecipes->SelectedItem();
    if (!recipe || !row) {
        cancel = true;
        return;
    }
    colRecipes.Remove(row->Key());
    const int position = lvRecipes->Position(row);
    lvRecipes->Remove(row->Key());
    recipe->Name = name;
    colRecipes.Add(name, recipe);
    row = lvRecipes->Insert(position, name, name);
    row->SetSubItem(1, TotalText(*recipe));
    lvRecipes->SetSelectedItem(row);
    AutoSizeColumns(lvRecipes);
    ShowCurrentRecipe();
    RecipesChanged();
}

void frmRecipes::AddRecipe()
{
    const bool confirmed = EditorParts::Confirm(
        QStringLiteral("Add a new recipe to the database ?"), QStringLiteral("ADD RECIPE"));
    lvRecipes->setFocus();
    if (!confirmed)
        return;
    auto recipe = std::make_shared<Recipe>();
    recipe->Name = NewRecipeName;
    const bool added = colRecipes.Add(recipe->Name, recipe);
    if (added)
        lvRecipes->Insert(1, recipe->Name, recipe->Name)->SetSubItem(1, TotalText(*recipe));
    lvRecipes->SetSelectedItem(lvRecipes->Item(NewRecipeName));
    lvRecipes->EnsureVisible(lvRecipes->SelectedItem());
    AutoSizeColumns(lvRecipes);
    ShowCurrentRecipe();
    SetCaption();
    if (added)
        RecipesChanged();
}

void frmRecipes::RemoveRecipe()
{
    const auto recipe = CurrentRecipe();
    if (!recipe) {
        EditorParts::Refuse(QStringLiteral("No current recipe."));
        lvRecipes->setFocus();
        return;
    }
    const bool confirmed = EditorParts::Confirm(
        QStringLiteral("Remove recipe '%1' ?").arg(recipe->Name), QStringLiteral("REMOVE RECIPE"));
    lvRecipes->setFocus();
    if (!confirmed)
        return;
    colRecipes.Remove(recipe->Name);
    lvRecipes->Remove(recipe->Name);
    AutoSizeColumns(lvRecipes);
    ShowCurrentRecipe();
    SetCaption();
    RecipesChanged();
}

void frmRecipes::LoadDatabase()
{
    const auto chosen =
        platform::OpenFileDialog::Show(QStringLiteral("Select the recipe database to edit ..."),
                                       QStringLiteral("All Files (*.*)|*.*"), RecipeDatabasePath);
    bool askedAboutDamage = false;
    if (!chosen || !MayOpenAsRecipeDatabase(*chosen, askedAboutDamage)) {
        lvRecipes->setFocus();
        return;
    }
    platform::RunPendingValidation(this);
    StoreMessages saveMessages;
    {
        const platform::InputHeldBack held; // the windows repaint but take no input
        saveMessages = SaveRecipes(platform::ProcessPendingEvents);
    }
    // Recipes that could not be saved are lost once the chosen file's replace them, unless they
    // are saved elsewhere first.
    ShowStoreMessages(saveMessages);
    if (!saveMessages.isEmpty())
        frmMain::Instance()->OfferSaveElsewhere(
            QStringLiteral("when the other recipe database is opened"));
    {
        const platform::InputHeldBack held;
        RecipeDatabasePath = *chosen;
        LoadRecipes();
    }
    Form_Load();
    lvRecipes->setFocus();
    RecipesChanged();
    if (!askedAboutDamage)
        ShowStoreMessages(ReportLoadProblems({Database::Recipes}));
}

bool frmRecipes::MayOpenAsRecipeDatabase(const QString& path, bool& askedAboutDamage)
{
    // The other databases of the data folder would be overwritten by a recipe file at exit.
    const QFileInfo file(path);
    for (const QString& other : {QStringLiteral("Help.Dat"), QStringLiteral("Glasses.Dat"),
                                 QStringLiteral("Ingredients.Dat")})
        if (file == QFileInfo(DataPath + other)) {
            EditorParts::Refuse(QStringLiteral("'%1' is one of the editor's other database files; "
                                               "it cannot be opened as the recipe database.")
                                    .arg(QDir::toNativeSeparators(path)),
                                QStringLiteral("INVALID ACTION"));
            return false;
        }
    // A new name starts an empty recipe database, where its folder exists to hold it.
    if (!file.exists() && QFileInfo(file.absolutePath()).isDir())
        return MayOpenUnsaveable(path);
    const LoadResult found = InspectRecipeFile(path);
    if (!found.opened) {
        EditorParts::Refuse(QStringLiteral("'%1' could not be opened: %2.")
                                .arg(QDir::toNativeSeparators(path), found.error),
                            QStringLiteral("INVALID ACTION"));
        return false;
    }
    if (found.IsClean())
        return MayOpenUnsaveable(path);
    askedAboutDamage = true;
    return platform::MessageBox::Show(
               QStringLiteral("'%1' does not look like a recipe database: %2 could not be read. "
                              "Open it anyway? Every exit rewrites it.")
                   .arg(QDir::toNativeSeparators(path), found.NotRead()),
               platform::MsgButtons::YesNoDefaultNo, platform::MsgIcon::Question,
               QStringLiteral("OPEN DATABASE")) == platform::MsgAnswer::Yes &&
           MayOpenUnsaveable(path);
}

bool frmRecipes::MayOpenUnsaveable(const QString& path)
{
    const QString why = platform::WhyNotReplaceable(path);
    return why.isEmpty() ||
           platform::MessageBox::Show(
               QStringLiteral("Changes to '%1' cannot be saved: %2. Open it anyway?")
                   .arg(QDir::toNativeSeparators(path), why),
               platform::MsgButtons::YesNoDefaultNo, platform::MsgIcon::Question,
               QStringLiteral("OPEN DATABASE")) == platform::MsgAnswer::Yes;
}

void frmRecipes::RecipesChanged()
{
    if (RecipeListChanged)
        RecipeListChanged();
}

void frmRecipes::closeEvent(QCloseEvent* event)
{
    ShowHint(QString());
    event->accept();
}

void frmRecipes::resizeEvent(QResizeEvent* event)
{
    MdiChild::resizeEvent(event);
    AutoSizeColumns(lvRecipeIng);
    AutoSizeColumns(lvRecipes);
}

// The ingredient lines of the current recipe.

void frmRecipes::FillAmountList()
{
    cboAmount->Clear();
    cboAmount->AddItem(QStringLiteral("(NONE)"));
    for (int code = 1; code <= 255; ++code)
        cboAmount->AddItem(modGeneralAmounts::AmountText(quint8(code)));
}

void frmRecipes::FillPriorityList()
{
    cboPriority->Clear();
    for (int priority = 1; priority <= 9; ++priority)
        cboPriority->AddItem(QStringLiteral("Priority %1").arg(priority));
    cboPriority->AddItem(QStringLiteral("Garnish"));
}

void frmRecipes::FillLines(const Recipe& recipe)
{
    lvRecipeIng->Clear();
    lvRecipeIng->SetSorted(false);
    for (const auto& line : recipe.RecipeIngredients())
        if (platform::ListItem* row = lvRecipeIng->Add(line->ThisKey, line->Name))
            row->SetSubItem(1, PriorityText(line->Priority));
    SortByColumn(lvRecipeIng, 2, true);
    AutoSizeColumns(lvRecipeIng);
    if (lvRecipeIng->Count() > 0)
        lvRecipeIng->SetSelectedItem(lvRecipeIng->Item(1));
    ShowCurrentLine();
}

void frmRecipes::ShowCurrentLine()
{
    const auto line = CurrentIngredient();
    for (QWidget* control :
         std::initializer_list<QWidget*>{lblAmount, cboAmount, lblPriority, cboPriority})
        control->setEnabled(line != nullptr);
    if (!line) {
        cboAmount->SetListIndex(0);
        cboPriority->SetListIndex(-1);
        return;
    }
    cboAmount->SetListIndex(int(std::nearbyint(line->Amount)));
    // A priority the chooser has no entry for shows none and keeps its value.
    cboPriority->SetListIndex(line->Priority < cboPriority->count() ? line->Priority : -1);
}

void frmRecipes::cboPriority_Click()
{
    const int index = cboPriority->ListIndex();
    const auto line = CurrentIngredient();
    if (index == -1 || !line)
        return;
    line->Priority = quint8(index);
    if (platform::ListItem* row = lvRecipeIng->Item(line->ThisKey))
        row->SetSubItem(1, PriorityText(line->Priority));
    frmMain::Instance()->RecipeEdited(); // a garnish shows no amount
}

void frmRecipes::cboAmount_Validate()
{
    const auto line = CurrentIngredient();
    if (line && cboAmount->ListIndex() >= 0) {
        line->Amount = cboAmount->ListIndex();
        frmMain::Instance()->RecipeEdited();
    }
}

void frmRecipes::lvRecipeIng_KeyDown(int& keyCode, int)
{
    if (keyCode == platform::KeyCode::Insert)
        AddIngredient();
    else if (keyCode == platform::KeyCode::Delete)
        RemoveIngredient();
}

std::shared_ptr<Recipe> frmRecipes::CurrentRecipeForLines()
{
    const auto recipe = CurrentRecipe();
    if (!recipe) {
        EditorParts::Refuse(QStringLiteral("No current recipe."));
        if (lvRecipeIng->isEnabled())
            lvRecipeIng->setFocus();
    }
    return recipe;
}

void frmRecipes::AddIngredient()
{
    const auto recipe = CurrentRecipeForLines();
    if (!recipe)
        return;
    PickedIngredientName.clear();
    {
        frmAddIngredient picker(window());
        picker.Form_Load();
        platform::ModalWindow::Show(picker);
    }
    if (PickedIngredientName.isEmpty())
        return;
    auto line = std::make_shared<RecipeIngredient>();
    line->Name = PickedIngredientName;
    line->ThisKey = NewKey();
    line->Priority = 0;
    line->Amount = 0;
    if (!recipe->RecipeIngredients().Add(line->ThisKey, line))
        return;
    platform::ListItem* row = lvRecipeIng->Insert(1, line->ThisKey, line->Name);
    row->SetSubItem(1, PriorityText(0));
    lvRecipeIng->SetSelectedItem(row);
    AutoSizeColumns(lvRecipeIng);
    ShowCurrentLine();
    frmMain::Instance()->RecipeEdited();
}

void frmRecipes::RemoveIngredient()
{
    const auto recipe = CurrentRecipeForLines();
    if (!recipe)
        return;
    const auto line = CurrentIngredient();
    if (!line) {
        EditorParts::Refuse(QStringLiteral("No current ingredient."));
        lvRecipeIng->setFocus();
        return;
    }
    const bool confirmed =
        EditorParts::Confirm(QStringLiteral("Remove ingredient '%1' ?").arg(line->Name),
                             QStringLiteral("REMOVE INGREDIENT"));
    lvRecipeIng->setFocus();
    if (!confirmed)
        return;
    recipe->RecipeIngredients().Remove(line->ThisKey);
    lvRecipeIng->Remove(line->ThisKey);
    AutoSizeColumns(lvRecipeIng);
    ShowCurrentLine();
    frmMain::Instance()->RecipeEdited();
}
