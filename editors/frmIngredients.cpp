#include "frmIngredients.h"

#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "editors/EditorParts.h"
#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/FocusEvents.h"
#include "platform/Keys.h"
#include "platform/TreeView.h"
#include "store/modCellarix.h"

#include <QCloseEvent>
#include <QLabel>

using namespace modCellarix;

namespace {
const QString NewIngredientName = QStringLiteral("New Ingredient (change this)");
} // namespace

frmIngredients::frmIngredients()
{
    TV = new platform::TreeView(this);
    Place(TV, 0, 0, 6960, 2295);

    // Choosers of the ingredient's other attributes: present for the game's later use, never
    // filled or enabled.
    EditorParts::AddPlaceholder(this, lblCursor, cboCursor, QStringLiteral("Cursor :"),
                                {120, 2400, 915, 285}, {1080, 2340, 2295, 315});
    EditorParts::AddPlaceholder(this, lblShadow, cboShadow, QStringLiteral("Shadow :"),
                                {3600, 2400, 915, 285}, {4560, 2340, 2295, 315});
    EditorParts::AddPlaceholder(this, lblHighlight, cboHighlight, QStringLiteral("Highlight :"),
                                {120, 2760, 1035, 285}, {1080, 2700, 2295, 315});
    EditorParts::AddPlaceholder(this, lblAnimation, cboAnimation, QStringLiteral("Animation :"),
                                {3600, 2760, 915, 285}, {4560, 2700, 2295, 315});
    EditorParts::AddPlaceholder(this, lblHelpTopic, cboHelpTopic, QStringLiteral("Help Topic :"),
                                {120, 3120, 1035, 285}, {1080, 3060, 2295, 315});
    EditorParts::AddPlaceholder(this, lblZoom, cboZoom, QStringLiteral("Zoom :"),
                                {3600, 3120, 1035, 285}, {4560, 3060, 2295, 315});

    lblHotspotID = new QLabel(QStringLiteral("Hotspot ID :"), this);
    cboHotspotID = new platform::DropDownList(this);
    chkAction = new platform::CheckBox(QStringLiteral("Action ?"), this);
    lblColor = new QLabel(QStringLiteral("&Color :"), this);
    cmdColor = new platform::ColorButton(this);
    lblOpacity = new QLabel(QStringLiteral("&Opacity :"), this);
    cboOpacity = new platform::DropDownList(this);
    chkOunces = new platform::CheckBox(QStringLiteral("&Ounces ?"), this);
    txtDisplayText = new platform::TextBox(this);
    TV->setAccessibleName(QStringLiteral("Ingredients"));
    platform::LinkLabel(lblHotspotID, cboHotspotID);
    platform::LinkLabel(lblColor, cmdColor);
    platform::LinkLabel(lblOpacity, cboOpacity);
    txtDisplayText->setAccessibleName(QStringLiteral("Display text"));
    Place(lblHotspotID, 120, 3480, 915, 285);
    Place(cboHotspotID, 1080, 3420, 1335, 315);
    Place(chkAction, 5820, 3480, 975, 195);
    Place(lblColor, 120, 3840, 795, 285);
    Place(cmdColor, 1080, 3780, 1755, 315);
    Place(lblOpacity, 2940, 3840, 795, 285);
    Place(cboOpacity, 3720, 3780, 1950, 315);
    Place(chkOunces, 5820, 3840, 975, 195);
    Place(txtDisplayText, 0, 4140, 6960, 3585);
    // The check boxes are taller than their design height so their captions stay readable.
    for (QWidget* box : std::initializer_list<QWidget*>{chkAction, chkOunces})
        box->resize(box->width(), qMax(box->height(), box->sizeHint().height()));

    QWidget::setTabOrder(TV, cboHotspotID);
    QWidget::setTabOrder(cboHotspotID, cmdColor);
    QWidget::setTabOrder(cmdColor, cboOpacity);
    QWidget::setTabOrder(cboOpacity, chkOunces);
    QWidget::setTabOrder(chkOunces, txtDisplayText);
    QWidget::setTabOrder(txtDisplayText, chkAction);

    TV->NodeClick = [this](platform::TreeNode*) { TV_NodeClick(); };
    TV->AfterLabelEdit = [this](bool& cancel, const QString& text) {
        TV_AfterLabelEdit(cancel, text);
    };
    platform::OnKeys(
        TV, [this](int& code, int shift) { TV_KeyDown(code, shift); },
        platform::EnterMovesToNextControl(TV));
    for (QWidget* control :
         std::initializer_list<QWidget*>{cboHotspotID, cboOpacity, chkAction, chkOunces})
        platform::OnKeys(control, nullptr, platform::EnterMovesToNextControl(control));

    cboHotspotID->Click = [this] {
        if (SelectedIngredient && cboHotspotID->ListIndex() >= 0)
            SelectedIngredient->SetHotSpotID(quint8(cboHotspotID->ListIndex()));
    };
    cboOpacity->Click = [this] {
        if (SelectedIngredient && cboOpacity->ListIndex() >= 0)
            SelectedIngredient->SetOpacity(quint8(cboOpacity->ListIndex()));
    };
    // Showing an ingredient sets its boxes, which raises these too: only a change of the flag is
    // stored, so a flag byte other than 0 or 1 stays as the file has it until the user sets it.
    chkAction->Click = [this] {
        const bool checked = chkAction->GetValue() == platform::CheckBox::Checked;
        if (SelectedIngredient && SelectedIngredient->Action() != checked)
            SelectedIngredient->SetAction(checked);
    };
    chkOunces->Click = [this] {
        const bool checked = chkOunces->GetValue() == platform::CheckBox::Checked;
        if (SelectedIngredient && SelectedIngredient->Ounces() != checked)
            SelectedIngredient->SetOunces(checked);
    };
    connect(cmdColor, &QPushButton::clicked, this, [this] { cmdColor_Click(); });
    EditorParts::AcceptStorableTextOnly(txtDisplayText);
    // As with the flags, only a changed text is stored: a damaged length (below 0) stays as it is.
    platform::OnValidate(txtDisplayText, [this] {
        if (SelectedIngredient && SelectedIngredient->DisplayText() != txtDisplayText->Text())
            SelectedIngredient->SetDisplayText(txtDisplayText->Text());
    });

    EditorParts::Hint(TV, QStringLiteral("Press F2 to edit the name of the ingredient, INS to add "
                                         "a new ingredient, and DEL to delete the current "
                                         "ingredient ..."));
    EditorParts::Hint(
        cboOpacity, QStringLiteral("Click here to edit the opacity of the current ingredient ..."));
    EditorParts::Hint(chkAction, QStringLiteral("Check this if the ingredient is considered to be "
                                                "an action, uncheck it otherwise ..."));
    EditorParts::Hint(chkOunces, QStringLiteral("Check this if the ingredient is measured in "
                                                "ounces, uncheck it otherwise ..."));
    EditorParts::Hint(cmdColor,
                      QStringLiteral("Click here to edit the color of the current ingredient ..."));
    EditorParts::Hint(txtDisplayText,
                      QStringLiteral("Edit the display text of the ingredient here ..."));
}

void frmIngredients::Form_Load()
{
    EditorParts::RefuseEditsWhenReadOnly(this);
    FillAttributeLists();
    MoveToTopLeft();
    SetFixedClientSize(6960, 7725);
    FillIngredientTree(TV);
    TV->SetSelectedNode(TV->Node(Ingredient::TreeRootName));
    TV_NodeClick();
    SetCaption();
}

void frmIngredients::FillAttributeLists()
{
    EditorParts::FillHotspotList(cboHotspotID);
    cboOpacity->Clear();
    for (int percent = 0; percent <= 100; ++percent)
        cboOpacity->AddItem(QStringLiteral("%1 Percent").arg(percent));
}

void frmIngredients::SetCaption()
{
    setWindowTitle(QStringLiteral("Ingredients - (%1 Entries)").arg(colIngredients.Count()));
}

void frmIngredients::TV_NodeClick()
{
    const platform::TreeNode* node = TV->SelectedNode();
    SelectedIngredient = (!node || node->Key() == Ingredient::TreeRootName)
                             ? nullptr
                             : colIngredients.Item(node->Key());
    RefreshPanel();
}

void frmIngredients::RefreshPanel()
{
    const auto ingredient = SelectedIngredient;
    for (QWidget* control :
         std::initializer_list<QWidget*>{lblHotspotID, cboHotspotID, chkOunces, chkAction, lblColor,
                                         cmdColor, lblOpacity, cboOpacity, txtDisplayText})
        control->setEnabled(ingredient != nullptr);
    if (!ingredient) {
        chkOunces->SetValue(platform::CheckBox::Grayed);
        chkAction->SetValue(platform::CheckBox::Grayed);
        cmdColor->SetSystemFace();
        cboHotspotID->SetListIndex(-1);
        cboOpacity->SetListIndex(-1);
        txtDisplayText->SetText(QString());
        return;
    }
    cboHotspotID->SetListIndex(ingredient->HotSpotID());
    chkOunces->SetValue(ingredient->Ounces() ? platform::CheckBox::Checked
                                             : platform::CheckBox::Unchecked);
    chkAction->SetValue(ingredient->Action() ? platform::CheckBox::Checked
                                             : platform::CheckBox::Unchecked);
    cmdColor->SetFaceColor(ingredient->Color());
    // An opacity above 100 has no entry: none is shown and the value is kept.
    cboOpacity->SetListIndex(ingredient->Opacity() < cboOpacity->count() ? ingredient->Opacity()
                                                                         : -1);
    txtDisplayText->SetText(ingredient->DisplayText());
}

void frmIngredients::cmdColor_Click()
{
    if (!SelectedIngredient)
        return;
    const qint32 stored = SelectedIngredient->Color();
    const auto chosen = platform::ColorDialog::Show(stored);
    // The dialog holds red, green and blue only: confirmed on the colour it started from, it
    // leaves a stored value with further bits (possible in a file) as it is.
    if (!chosen || *chosen == platform::ValueFromColor(platform::ColorFromValue(stored)))
        return;
    cmdColor->SetFaceColor(*chosen);
    SelectedIngredient->SetColor(*chosen);
}

void frmIngredients::TV_KeyDown(int& keyCode, int)
{
    if (keyCode == platform::KeyCode::Insert) {
        keyCode = 0;
        AddIngredient();
    } else if (keyCode == platform::KeyCode::Delete) {
        keyCode = 0;
        if (SelectedIngredient)
            RemoveIngredient();
    } else if (keyCode == platform::KeyCode::F2) {
        keyCode = 0;
        if (!SelectedIngredient)
            return;
        if (TV->SelectedNode() && TV->SelectedNode()->Children() > 0) {
            EditorParts::Refuse(QStringLiteral("Cannot edit a top-level ingredient."),
                                QStringLiteral("INVALID ACTION"));
            TV->setFocus();
            return;
        }
        TV->StartLabelEdit();
    }
}

void frmIngredients::TV_AfterLabelEdit(bool& cancel, const QString& newString)
{
    const auto ingredient = SelectedIngredient;
    platform::TreeNode* node = ingredient ? TV->Node(ingredient->Name()) : nullptr;
    if (EditorParts::RefuseUnstorableName(newString)) {
        TV->setFocus();
        cancel = true;
        return;
    }
    // The name as the ingredient file will hold it. It is free when it is not empty, not taken
    // and not the root's.
    const QString newName = EditorParts::NameAsStored(newString);
    if (newName.isEmpty() || newName.compare(Ingredient::TreeRootName, Qt::CaseInsensitive) == 0 ||
        colIngredients.Contains(newName)) {
        EditorParts::Refuse(QStringLiteral("Ingredient already in the database."));
        TV->setFocus();
        cancel = true;
        return;
    }
    if (!node) {
        cancel = true;
        return;
    }
    const QString oldName = ingredient->Name();
    colIngredients.Remove(oldName);
    const QString parentKey = node->Parent() ? node->Parent()->Key() : Ingredient::TreeRootName;
    TV->Remove(oldName);
    Recipe::RenameIngredientLines(colRecipes, oldName, newName);
    frmMain::Instance()->RecipeEdited();
    ingredient->SetName(newName);
    colIngredients.Add(newName, ingredient);
    platform::TreeNode* renamed = TV->Add(parentKey, newName, newName);
    // A category keeps its sub-ingredients in alphabetical order, as the filled tree does.
    if (renamed && parentKey == Ingredient::TreeRootName)
        TV->SetSorted(renamed, true);
    TV->SetSelectedNode(renamed);
    TV_NodeClick();
}

void frmIngredients::AddIngredient()
{
    const bool confirmed = EditorParts::Confirm(
        QStringLiteral("Add a new ingredient to the database ?"), QStringLiteral("ADD INGREDIENT"));
    TV->setFocus();
    if (!confirmed)
        return;
    auto ingredient = std::make_shared<Ingredient>();
    ingredient->SetName(NewIngredientName);
    ingredient->SetOunces(true);
    ingredient->SetAction(false);
    ingredient->SetColor(255 + 256 * 255 + 65536 * 255);
    ingredient->SetOpacity(0);
    ingredient->SetDisplayText(QString());
    ingredient->SetParentItem(SelectedIngredient ? SelectedIngredient->Name() : QString());
    const QString parentKey =
        SelectedIngredient ? SelectedIngredient->Name() : Ingredient::TreeRootName;
    if (colIngredients.Add(NewIngredientName, ingredient))
        TV->Add(parentKey, NewIngredientName, NewIngredientName);
    if (platform::TreeNode* node = TV->Node(NewIngredientName)) {
        TV->SetSelectedNode(node);
        TV->EnsureVisible(node);
    }
    TV_NodeClick();
    SetCaption();
}

void frmIngredients::RemoveIngredient()
{
    const auto ingredient = SelectedIngredient;
    platform::TreeNode* node = ingredient ? TV->Node(ingredient->Name()) : nullptr;
    if (!node)
        return;
    const QString question =
        node->Children() > 0 ? QStringLiteral("Remove ingredient '%1' and all sub-ingredients ?")
                                   .arg(ingredient->Name())
                             : QStringLiteral("Remove ingredient '%1' ?").arg(ingredient->Name());
    const bool confirmed = EditorParts::Confirm(question, QStringLiteral("REMOVE INGREDIENT"));
    TV->setFocus();
    if (!confirmed)
        return;
    // Everything below the node, at every depth, goes with it.
    QStringList removed{ingredient->Name()};
    QList<const platform::TreeNode*> nodes{node};
    for (int i = 0; i < nodes.size(); ++i)
        for (int j = 0; j < nodes[i]->Children(); ++j) {
            nodes.append(nodes[i]->Child(j));
            removed << nodes[i]->Child(j)->Key();
        }
    colIngredients.Remove(removed);
    TV->Remove(ingredient->Name());
    TV->SetSelectedNode(TV->Node(1));
    TV_NodeClick();
    SetCaption();
}

void frmIngredients::closeEvent(QCloseEvent* event)
{
    ShowHint(QString());
    event->accept();
}
