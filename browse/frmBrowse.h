// The recipe browser: the recipes on the left, the chosen recipe as a card beside, and
// printing the card.
#pragma once

#include "app/MdiChild.h"

class QAction;
class QLabel;
class QPushButton;
namespace platform {
class ListView;
}

class frmBrowse : public MdiChild {
public:
    frmBrowse();
    void Form_Load() override;
    QList<QAction*> MenuBarEntries() const override { return {mnuPrint}; }

    platform::ListView* lvRecipes;
    QLabel* lblName;
    QLabel* lblGlass;
    QLabel* lblIngs;
    QLabel* lblAmt;
    QPushButton* cmdPrint;
    QAction* mnuPrint;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowRecipe();
    void Form_Resize();
    void cmdPrint_Click();
};
