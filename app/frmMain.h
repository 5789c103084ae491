// The main window: a multiple-document window with the toolbox of buttons on the left, the
// hint line in the toolbox, and the start-up and shut-down of the whole editor.
#pragma once

#include <QMainWindow>
#include <QPointer>

class QMdiArea;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QMdiSubWindow;
class MdiChild;
class frmBrowse;
class frmHelp;
class frmGlasses;
class frmIngredients;
class frmRecipes;

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

    // Start-up: hint, show, data folder, then the four databases.
    void MDIForm_Load();

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
    QAction* mnuShowAllEditors;
    QAction* mnuQuit;

    // The child windows, each created on first use and gone once closed.
    QPointer<frmRecipes> RecipeEditor;
    QPointer<frmBrowse> RecipeBrowser;
    QPointer<frmHelp> HelpBrowser;
    QPointer<frmGlasses> GlassEditor;
    QPointer<frmIngredients> IngredientEditor;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmMain();
    QPushButton* AddToolboxButton(const QString& caption, int top, bool visible, bool enabled);
    void MDIForm_Unload();
    // Shows `form` (creating it with `create` on first use) and makes it the active child.
    template <typename Form> void ShowChild(QPointer<Form>& form);
    void ShowChildMenus(QMdiSubWindow* active);
    void picToolbox_Resize();
    void cmdRecipes_Click();
    void cmdBrowse_Click();
    void cmdShowHelp_Click();
    void cmdGlasses_Click();
    void cmdIngredients_Click();

    enum class State { Stopped, Loading, Ready, Closing, Ended };
    State state = State::Stopped;
    bool closeRequestedWhileLoading = false;
    QList<QPointer<QAction>> childMenuActions;
};
