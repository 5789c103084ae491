// The ingredient editor: the ingredient tree, adding, renaming and removing ingredients, and
// the panel that edits the selected ingredient's attributes.
#pragma once

#include "app/MdiChild.h"
#include "records/Ingredient.h"

#include <memory>

class QLabel;
namespace platform {
class CheckBox;
class ColorButton;
class DropDownList;
class TextBox;
class TreeView;
} // namespace platform

class frmIngredients : public MdiChild {
public:
    frmIngredients();
    void Form_Load() override;

    void AddIngredient();
    void RemoveIngredient();

    platform::TreeView* TV;
    QLabel* lblCursor;
    platform::DropDownList* cboCursor;
    QLabel* lblShadow;
    platform::DropDownList* cboShadow;
    QLabel* lblHighlight;
    platform::DropDownList* cboHighlight;
    QLabel* lblAnimation;
    platform::DropDownList* cboAnimation;
    QLabel* lblHelpTopic;
    platform::DropDownList* cboHelpTopic;
    QLabel* lblZoom;
    platform::DropDownList* cboZoom;
    QLabel* lblHotspotID;
    platform::DropDownList* cboHotspotID;
    platform::CheckBox* chkAction;
    QLabel* lblColor;
    platform::ColorButton* cmdColor;
    QLabel* lblOpacity;
    platform::DropDownList* cboOpacity;
    platform::CheckBox* chkOunces;
    platform::TextBox* txtDisplayText;

    // The ingredient whose node is selected; none for the root or no selection.
    std::shared_ptr<Ingredient> SelectedIngredient;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FillAttributeLists();
    void RefreshPanel();
    void SetCaption();
    void TV_NodeClick();
    void TV_KeyDown(int& keyCode, int shift);
    void TV_AfterLabelEdit(bool& cancel, const QString& newString);
    void cmdColor_Click();
};
