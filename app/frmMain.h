// The main window: a multiple-document window with the toolbox of buttons on the left, the
// hint line in the toolbox, and the start-up and shut-down of the whole editor.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QMdiArea;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QMdiSubWindow;
class MdiChild;
class frmBrowse;
class frmCheck;
class frmHelp;
class frmGlasses;
class frmIngredients;
class frmRecipes;
namespace platform {
class FolderLock;
}

namespace modCellarix {
struct StoreMessage;

// Writes `Message` into the main window's hint line, creating the main window if need be.
void ShowHint(const QString& Message);

// Shows each message of the data store in a message box of its own (information icon, OK).
void ShowStoreMessages(const QList<StoreMessage>& messages);
} // namespace modCellarix

class frmMain : public QMainWindow {
    Q_OBJECT

public:
    // The one main window, created on first use.
    static frmMain* Instance();
    // Destroys the main window if it exists (tests start each case with a fresh one).
    static void Destroy();
    ~frmMain() override;

    // Start-up: hint, show, data folder and its lock, then the four databases. False when the
    // user chose to end the editor instead (nothing is saved then).
    bool MDIForm_Load();
    // After a failed save: offers to save the databases into another folder until that works or
    // the user declines; `otherwise` says when what was not saved is lost.
    void OfferSaveElsewhere(const QString& otherwise);

    QMdiArea* mdiArea;
    QWidget* picToolbox;
    QPushButton* cmdRecipes;
    QPushButton* cmdBrowse;
    QPushButton* cmdShowHelp;
    QPushButton* cmdGlasses;
    QPushButton* cmdIngredients;
    QPushButton* cmdPictures;
    QPushButton* cmdSounds;
    QPushButton* cmdMusic;
    QPushButton* cmdHelp;
    QPushButton* cmdImageMap;
    QPushButton* cmdImageLoc;
    QPushButton* cmdAnimations;
    QPushButton* cmdTrivia;
    QPushButton* cmdDYK;
    QPushButton* cmdBarTricks;
    QPlainTextEdit* txtHelp;
    QWidget* prgCurrent;
    QMenu* mnuFile;
    QAction* mnuCheckDatabase;
    QAction* mnuShowAllEditors;
    QAction* mnuQuit;
    // "Cascade", "Tile" and the open child windows, the active one checked.
    QMenu* mnuWindow;

    // The child windows, each created on first use and gone once closed.
    QPointer<frmRecipes> RecipeEditor;
    QPointer<frmBrowse> RecipeBrowser;
    QPointer<frmHelp> HelpBrowser;
    QPointer<frmGlasses> GlassEditor;
    QPointer<frmIngredients> IngredientEditor;
    QPointer<frmCheck> DatabaseCheck;

    // The toolbox buttons' actions; the database check opens the editors through them too.
    void cmdRecipes_Click();
    void cmdGlasses_Click();
    void cmdIngredients_Click();
    // An editor changed what a recipe card shows (a recipe's glass, instructions or lines, an
    // ingredient's name): the recipe browser shows its card again.
    void RecipeEdited();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmMain();
    QPushButton* AddToolboxButton(const QString& caption, int top, bool visible, bool enabled);
    void MDIForm_Unload();
    // On a screen too small for the designed size, shrinks the window to the screen's free area;
    // moves it wholly onto that area. Done again when the window manager has added the frame.
    void FitOnScreen();
    // Locks the data folder; when another editor has it, asks whether to open it read-only.
    // False when the user chose to end the editor.
    bool TakeDataFolder();
    // Tells the user that changes cannot be saved, if so; false when the user chose to end.
    bool GoOnUnsaveable();
    // Ends the start-up at the user's wish, saving nothing; false, for MDIForm_Load to return.
    bool Quit();
    // Shows `form` (creating it with `create` on first use) and makes it the active child.
    template <typename Form> void ShowChild(QPointer<Form>& form);
    // Moves a newly opened child window into the visible part of the main window.
    void PlaceInView(QMdiSubWindow* window);
    // F6: moves the focus from the active child window to the toolbox button used last, and
    // back (with no child window, to that button). Tab stays inside a child window.
    void SwitchPane();
    void FillWindowMenu();
    void ShowChildMenus(QMdiSubWindow* active);
    void picToolbox_Resize();
    void cmdBrowse_Click();
    void cmdShowHelp_Click();
    void mnuCheckDatabase_Click();

    enum class State { Stopped, Loading, Ready, Closing, Ended };
    State state = State::Stopped;
    bool closeRequestedWhileLoading = false;
    bool fitAgainWhenFramed = false;
    QList<QPointer<QAction>> childMenuActions;
    std::unique_ptr<platform::FolderLock> dataFolderLock;
};
