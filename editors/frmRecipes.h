// The recipe editor: the list of recipes with their totals, the current recipe's glass, level
// and instructions, its ingredient lines with their amount and priority, and switching to
// another recipe database file.
#pragma once

#include "app/MdiChild.h"
#include "records/Glass.h"
#include "records/Recipe.h"

#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QAction;
namespace platform {
class DropDownList;
class ImageCombo;
class ListItem;
class ListView;
class TextBox;
} // namespace platform

class frmRecipes : public MdiChild {
public:
    frmRecipes();

    void Form_Load() override;
    QList<QAction*> MenuBarEntries() const override;

    std::shared_ptr<Recipe> CurrentRecipe() const;
    std::shared_ptr<Glass> CurrentGlass() const;
    std::shared_ptr<RecipeIngredient> CurrentIngredient() const;
    void AddRecipe();
    void RemoveRecipe();
    void LoadDatabase();
    void AddIngredient();
    void RemoveIngredient();

    platform::ListView* lvRecipes;
    QLabel* lblGlass;
    platform::ImageCombo* cboGlass;
    QLabel* lblLevel;
    platform::DropDownList* cboLevel;
    platform::ListView* lvRecipeIng;
    QLabel* lblAmount;
    QLabel* lblPriority;
    platform::DropDownList* cboPriority;
    platform::TextBox* txtInstructions;
    platform::DropDownList* cboAmount;
    QMenu* mnuActions;
    QAction* mnuOpenDatabase;

    // Runs after recipes were added, renamed or removed, or another database was opened.
    std::function<void()> RecipeListChanged;

    // "Priority 1" .. "Priority 9", "Garnish" for 9, "Priority 11" and up beyond.
    static QString PriorityText(quint8 priority);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowCurrentRecipe();
    void ShowCurrentLine();
    // The current recipe; without one, says so and returns none.
    std::shared_ptr<Recipe> CurrentRecipeForLines();
    void FillAmountList();
    void FillPriorityList();
    void FillLines(const Recipe& recipe);
    void SetCaption();
    void RecipesChanged();
    // True when the file at `path` may become the recipe database: not one of the other
    // databases, readable as recipes or confirmed by the user (`askedAboutDamage` then), and
    // one a save can replace or confirmed by the user.
    bool MayOpenAsRecipeDatabase(const QString& path, bool& askedAboutDamage);
    // True when a save can replace the file at `path`, or the user opens it all the same.
    static bool MayOpenUnsaveable(const QString& path);
    static QString TotalText(const Recipe& recipe);

    void lvRecipes_KeyDown(int& keyCode, int shift);
    void lvRecipes_AfterLabelEdit(bool& cancel, const QString& newString);
    void cboGlass_Click();
    void cboLevel_Click();
    void txtInstructions_Validate();
    void lvRecipeIng_KeyDown(int& keyCode, int shift);
    void cboPriority_Click();
    void cboAmount_Validate();
};
