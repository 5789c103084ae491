// The database check: every problem the database in memory has, as mixora-dat check finds
// them, in a list from which the user opens the record a problem is about in its editor.
#pragma once

#include "app/MdiChild.h"
#include "check/CheckDatabase.h"

#include <memory>

class QLabel;
class QPushButton;
namespace platform {
class ListItem;
class ListView;
} // namespace platform

class frmCheck : public MdiChild {
public:
    frmCheck();
    // Runs the check and shows what it found.
    void Form_Load() override;
    // Runs the check again and shows what it found.
    void cmdCheckAgain_Click();

    platform::ListView* lvProblems;
    QLabel* lblNoProblems; // over the list's rows when there is nothing to list
    QPushButton* cmdCheckAgain;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void lvProblems_DblClick();
    // False when the record `problem` is about, or its line, was removed or renamed since the
    // check.
    static bool StillAsChecked(const CheckDatabase::Problem& problem);
    // Opens the editor of the record `problem` is about and selects the record there.
    void OpenRecord(const CheckDatabase::Problem& problem);
    void OpenRecipe(const std::shared_ptr<Recipe>& recipe, const QString& lineKey);
    void OpenGlass(const QString& name);
    void OpenIngredient(const QString& name);
    void SetCaption();

    QList<CheckDatabase::Problem> problems; // in the order found; each row's Tag is its index here
};
