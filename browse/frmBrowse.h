// The recipe browser: the recipes on the left, the chosen recipe as a card beside, and
// printing the card.
#pragma once

#include "app/MdiChild.h"
#include "records/Recipe.h"

#include <memory>

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
    // Refills the list from the recipe database after recipes were added, renamed or removed,
    // keeping the selection on the same recipe where it still exists, and shows its card.
    void FollowRecipes();
    // Shows the recipe on the card again, as it is now.
    void ShowCard();

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
    // Shows the recipe of the selected row on the card.
    void ShowRecipe();
    // The recipe the card shows.
    std::weak_ptr<Recipe> shownRecipe;
    void Form_Resize();
    void cmdPrint_Click();
};
