// The ingredient picker: a modal dialog in which the user chooses the ingredient of a new
// recipe line from the ingredient tree. The choice is handed back in PickedIngredientName.
#pragma once

#include <QDialog>

class QPushButton;
namespace platform {
class TreeView;
}

class frmAddIngredient : public QDialog {
public:
    explicit frmAddIngredient(QWidget* parent);
    void Form_Load();

    platform::TreeView* TV;
    QPushButton* cmdOK;
    QPushButton* cmdClose;

    // Esc, the close box and "Close" all leave without a choice.
    void reject() override;

private:
    void cmdOK_Click();
};
