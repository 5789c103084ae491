#include "frmAddIngredient.h"

#include "app/ListHelpers.h"
#include "editors/EditorParts.h"
#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/Fonts.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"
#include "store/modCellarix.h"

#include <QPushButton>

using namespace modCellarix;

frmAddIngredient::frmAddIngredient(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Select Ingredient"));
    setFont(platform::TahomaFont());
    setFixedSize(platform::TwipsToPixelsX(4680), platform::TwipsToPixelsY(6075));

    TV = new platform::TreeView(this);
    TV->setGeometry(platform::TwipsRect(0, 0, 4680, 5535));
    TV->setAccessibleName(QStringLiteral("Ingredients"));
    cmdOK = new platform::CommandButton(QStringLiteral("&OK"), this);
    cmdOK->setGeometry(platform::TwipsRect(2760, 5640, 915, 375));
    // OK takes Enter unless another button has the focus: a focused button takes Enter itself.
    cmdOK->setDefault(true);
    cmdClose = new platform::CommandButton(QStringLiteral("&Close"), this);
    cmdClose->setGeometry(platform::TwipsRect(3720, 5640, 915, 375));
    setTabOrder(TV, cmdOK);
    setTabOrder(cmdOK, cmdClose);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, &frmAddIngredient::reject);
    TV->Collapse = [this](platform::TreeNode* node) {
        if (node->Key() == Ingredient::TreeRootName)
            TV->SetExpanded(node, true); // the root cannot be collapsed
    };
    EditorParts::Hint(TV, QStringLiteral("Select the ingredient to add here ..."));
    EditorParts::Hint(cmdOK, QStringLiteral("Click here to add the selected ingredient ..."));
    EditorParts::Hint(cmdClose, QStringLiteral("Click here to cancel adding an ingredient ..."));
    platform::FitCaptions(this);
}

void frmAddIngredient::Form_Load()
{
    FillIngredientTree(TV);
}

void frmAddIngredient::cmdOK_Click()
{
    const platform::TreeNode* node = TV->SelectedNode();
    if (!node || node->Key() == Ingredient::TreeRootName) {
        EditorParts::Refuse(QStringLiteral("No ingredient selected."));
        return;
    }
    PickedIngredientName = node->Key();
    accept();
}

void frmAddIngredient::reject()
{
    PickedIngredientName.clear();
    QDialog::reject();
}
