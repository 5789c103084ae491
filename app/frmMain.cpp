#include "frmMain.h"

#include "browse/frmBrowse.h"
#include "browse/frmHelp.h"
#include "editors/frmCheck.h"
#include "editors/frmGlasses.h"
#include "editors/frmIngredients.h"
#include "editors/frmRecipes.h"
#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Events.h"
#include "platform/FocusEvents.h"
#include "platform/FolderLock.h"
#include "platform/Fonts.h"
#include "platform/Keys.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "store/modCellarix.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QSysInfo>
#include <QVBoxLayout>
#include <QWindow>

using namespace modCellarix;

namespace {
frmMain* instance = nullptr;

// Toolbox geometry, in twips.
constexpr int ToolboxWidth = 1635;
constexpr int ButtonLeft = 60, ButtonWidth = 1455, ButtonHeight = 375;
constexpr int HintTop = 5580;
} // namespace

namespace modCellarix {
void ShowHint(const QString& Message)
{
    frmMain::Instance()->txtHelp->setPlainText(Message);
}

void ShowStoreMessages(const QList<StoreMessage>& messages)
{
    for (const StoreMessage& message : messages)
        platform::MessageBox::Show(message.text, platform::MsgButtons::OK,
                                   platform::MsgIcon::Information, message.title);
}
} // namespace modCellarix

frmMain* frmMain::Instance()
{
    if (!instance)
        instance = new frmMain();
    return instance;
}

void frmMain::Destroy()
{
    delete instance;
}

frmMain::~frmMain()
{
    // The workspace tells of its windows going while the base class deletes them, when this
    // window's own members are gone already.
    disconnect(mdiArea, nullptr, this, nullptr);
    if (instance == this)
        instance = nullptr;
}

frmMain::frmMain()
{
    setWindowTitle(QStringLiteral("Mixora Database Editor"));

    auto* client = new QWidget(this);
    auto* clientLayout = new QVBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    auto* middle = new QHBoxLayout();
    middle->setSpacing(0);
    clientLayout->addLayout(middle, 1);

    picToolbox = new QWidget(client);
    picToolbox->setObjectName(QStringLiteral("picToolbox"));
    picToolbox->setFont(platform::TahomaFont());
    picToolbox->setFixedWidth(platform::TwipsToPixelsX(ToolboxWidth));
    picToolbox->installEventFilter(this);
    middle->addWidget(picToolbox);

    mdiArea = new QMdiArea(client);
    // A window larger than the free area can be scrolled into view.
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    middle->addWidget(mdiArea, 1);

    prgCurrent = new QWidget(client);
    prgCurrent->setObjectName(QStringLiteral("prgCurrent"));
    prgCurrent->setFixedHeight(platform::TwipsToPixelsY(315));
    clientLayout->addWidget(prgCurrent);
    setCentralWidget(client);

    cmdRecipes = AddToolboxButton(QStringLiteral("Edit Recipes"), 120, true, true);
    cmdBrowse = AddToolboxButton(QStringLiteral("Browse Recipes"), 600, true, true);
    cmdShowHelp = AddToolboxButton(QStringLiteral("Show Help"), 1080, true, true);
    cmdGlasses = AddToolboxButton(QStringLiteral("Glasses"), 2520, false, true);
    cmdIngredients = AddToolboxButton(QStringLiteral("Ingredients"), 2940, false, true);
    // Buttons of editors the game has no data for yet: present, hidden and without action.
    cmdPictures = AddToolboxButton(QStringLiteral("Pictures"), 3360, false, false);
    cmdSounds = AddToolboxButton(QStringLiteral("Sounds"), 3360, false, false);
    cmdMusic = AddToolboxButton(QStringLiteral("Music"), 3360, false, false);
    cmdHelp = AddToolboxButton(QStringLiteral("Help"), 3360, false, false);
    cmdImageMap = AddToolboxButton(QStringLiteral("Image Maps"), 3360, false, false);
    cmdImageLoc = AddToolboxButton(QStringLiteral("Image Locations"), 3360, false, false);
    cmdAnimations = AddToolboxButton(QStringLiteral("Animations"), 3360, false, false);
    cmdTrivia = AddToolboxButton(QStringLiteral("Trivia"), 3360, false, false);
    cmdDYK = AddToolboxButton(QStringLiteral("DYK"), 3360, false, false);
    cmdBarTricks = AddToolboxButton(QStringLiteral("Bar Tricks"), 3360, false, false);

    txtHelp = new QPlainTextEdit(picToolbox);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setAccessibleName(QStringLiteral("Hint"));
    txtHelp->setReadOnly(true);
    txtHelp->setEnabled(false);
    txtHelp->setFocusPolicy(Qt::NoFocus);
    // The hint line takes no input but must stay readable.
    QPalette hintPalette = txtHelp->palette();
    hintPalette.setColor(QPalette::Disabled, QPalette::Text,
                         hintPalette.color(QPalette::Active, QPalette::Text));
    txtHelp->setPalette(hintPalette);

    connect(cmdRecipes, &QPushButton::clicked, this, &frmMain::cmdRecipes_Click);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmMain::cmdBrowse_Click);
    connect(cmdShowHelp, &QPushButton::clicked, this, &frmMain::cmdShowHelp_Click);
    connect(cmdGlasses, &QPushButton::clicked, this, &frmMain::cmdGlasses_Click);
    connect(cmdIngredients, &QPushButton::clicked, this, &frmMain::cmdIngredients_Click);

    const auto clearHint = [] { ShowHint(QString()); };
    platform::OnFocus(
        cmdRecipes,
        [] { ShowHint(QStringLiteral("Edit and view the recipes in the database ...")); },
        clearHint);
    platform::OnFocus(
        cmdBrowse, [] { ShowHint(QStringLiteral("Browse the recipes in the database ...")); },
        nullptr);
    platform::OnFocus(
        cmdGlasses,
        [] { ShowHint(QStringLiteral("Edit and view the glasses in the database ...")); },
        clearHint);
    platform::OnFocus(
        cmdIngredients,
        [] { ShowHint(QStringLiteral("Edit and view the ingredients in the database ...")); },
        clearHint);

    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuCheckDatabase = mnuFile->addAction(QStringLiteral("&Check Database"));
    mnuCheckDatabase->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    connect(mnuCheckDatabase, &QAction::triggered, this, &frmMain::mnuCheckDatabase_Click);
    // The glass and ingredient editors are offered on request, for the rest of the session.
    mnuShowAllEditors = mnuFile->addAction(QStringLiteral("Show &All Editors"));
    mnuShowAllEditors->setCheckable(true);
    connect(mnuShowAllEditors, &QAction::toggled, this, [this](bool on) {
        cmdGlasses->setVisible(on);
        cmdIngredients->setVisible(on);
    });
    mnuFile->addSeparator();
    mnuQuit = mnuFile->addAction(QStringLiteral("&Quit"));
    connect(mnuQuit, &QAction::triggered, this, &QWidget::close);

    mnuWindow = menuBar()->addMenu(QStringLiteral("&Window"));
    connect(mnuWindow, &QMenu::aboutToShow, this, &frmMain::FillWindowMenu);
    FillWindowMenu();

    connect(mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::ShowChildMenus);
    // Once the last window has closed, the toolbox gets the focus back, rather than nothing having
    // it; checked after the window has gone.
    connect(
        mdiArea, &QMdiArea::subWindowActivated, this,
        [this] {
            if (mdiArea->subWindowList().isEmpty() && isActiveWindow() &&
                !QApplication::focusWidget())
                SwitchPane();
        },
        Qt::QueuedConnection);
    connect(new QShortcut(QKeySequence(Qt::Key_F6), this), &QShortcut::activated, this,
            &frmMain::SwitchPane);

    resize(platform::TwipsToPixelsX(11175),
           platform::TwipsToPixelsY(8925) + menuBar()->sizeHint().height());
    picToolbox_Resize();
    platform::FitCaptions(picToolbox);
}

QPushButton* frmMain::AddToolboxButton(const QString& caption, int top, bool visible, bool enabled)
{
    auto* button = new platform::CommandButton(caption, picToolbox);
    button->setGeometry(platform::TwipsRect(ButtonLeft, top, ButtonWidth, ButtonHeight));
    button->setVisible(visible);
    button->setEnabled(enabled);
    return button;
}

bool frmMain::MDIForm_Load()
{
    state = State::Loading;
    // Until every database is in memory the toolbox takes no clicks: a window opened now
    // would show half-loaded data.
    picToolbox->setEnabled(false);
    mnuCheckDatabase->setEnabled(false);

    ShowHint(QStringLiteral("Watch this space for helpful hints ..."));
    show();
    FitOnScreen();
    InitDataPath();
    if (!TakeDataFolder())
        return Quit();
    {
        // The window repaints while the files load but takes no input; a close asked for
        // meanwhile is carried out once everything is loaded.
        const platform::InputHeldBack held([this](QObject* window) {
            if (window == this || window == windowHandle())
                closeRequestedWhileLoading = true;
        });
        LoadGlasses(platform::ProcessPendingEvents);
        LoadIngredients(platform::ProcessPendingEvents);
        LoadHelpTopics();
        RecipeDatabasePath = DataPath + QStringLiteral("Recipes.Dat");
        LoadRecipes();
    }

    picToolbox->setEnabled(true);
    mnuCheckDatabase->setEnabled(true);
    state = State::Ready;
    ShowStoreMessages(ReportLoadProblems(
        {Database::Glasses, Database::Ingredients, Database::HelpTopics, Database::Recipes}));
    if (!ReadOnly && !GoOnUnsaveable())
        return Quit();
    if (closeRequestedWhileLoading)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return true;
}

void frmMain::FitOnScreen()
{
    // A window manager adds the frame after the window is shown; until then the frame counts as
    // none, and the window is fitted again once the frame is there.
    fitAgainWhenFramed = frameGeometry() == geometry();
    const QRect free = screen()->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    resize(size().boundedTo(free.size() - frame));
    const QSize outer = frameGeometry().size();
    move(qBound(free.left(), x(), free.right() + 1 - outer.width()),
         qBound(free.top(), y(), free.bottom() + 1 - outer.height()));
}

bool frmMain::TakeDataFolder()
{
    ReadOnly = false;
    setWindowTitle(QStringLiteral("Mixora Database Editor"));
    if (!DataFolderError.isEmpty())
        return true;
    dataFolderLock = std::make_unique<platform::FolderLock>(DataPath.chopped(1));
    if (!dataFolderLock->HeldElsewhere())
        return true;
    QString owner = QStringLiteral("process %1").arg(dataFolderLock->OwnerPid());
    if (!dataFolderLock->OwnerHost().isEmpty() &&
        dataFolderLock->OwnerHost() != QSysInfo::machineHostName())
        owner += QStringLiteral(" on %1").arg(dataFolderLock->OwnerHost());
    const auto answer = platform::MessageBox::Show(
        QStringLiteral("The databases in %1 are open in another Mixora Database Editor (%2). "
                       "Open them read-only?")
            .arg(DataPath, owner),
        platform::MsgButtons::YesNo, platform::MsgIcon::Question, QStringLiteral("OPEN READ-ONLY"));
    dataFolderLock.reset();
    if (answer != platform::MsgAnswer::Yes)
        return false;
    ReadOnly = true;
    setWindowTitle(QStringLiteral("Mixora Database Editor (read-only)"));
    return true;
}

bool frmMain::GoOnUnsaveable()
{
    const QStringList reasons = WhyChangesCannotBeSaved();
    return reasons.isEmpty() ||
           platform::MessageBox::Show(
               QStringLiteral("Changes cannot be saved: %1.\n\nGo on all the same? (No ends the "
                              "editor.)")
                   .arg(reasons.join(QStringLiteral("; "))),
               platform::MsgButtons::YesNo, platform::MsgIcon::Question,
               QStringLiteral("OPEN DATABASES")) == platform::MsgAnswer::Yes;
}

bool frmMain::Quit()
{
    state = State::Ended;
    dataFolderLock.reset();
    ReleaseCollections();
    hide();
    return false;
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (state == State::Loading) {
        // Closing now would write half-loaded databases over the files: close once loaded.
        closeRequestedWhileLoading = true;
        event->ignore();
        return;
    }
    if (state == State::Ready)
        MDIForm_Unload();
    event->accept();
}

void frmMain::MDIForm_Unload()
{
    state = State::Closing;
    mdiArea->closeAllSubWindows();
    StoreMessages messages;
    {
        const platform::InputHeldBack held; // the window repaints but takes no input
        messages << SaveGlasses(platform::ProcessPendingEvents)
                 << SaveIngredients(platform::ProcessPendingEvents)
                 << SaveRecipes(platform::ProcessPendingEvents);
    }
    ShowStoreMessages(messages);
    if (!messages.isEmpty()) // something was not saved
        OfferSaveElsewhere(QStringLiteral("when the editor ends"));
    ReleaseCollections();
    dataFolderLock.reset();
    state = State::Ended;
}

void frmMain::OfferSaveElsewhere(const QString& otherwise)
{
    const QString title = QStringLiteral("SAVE ELSEWHERE");
    while (platform::MessageBox::Show(
               QStringLiteral("Not every database could be saved. Save the glasses, the "
                              "ingredients and the recipes into another folder that you choose? "
                              "Otherwise what was not saved is lost %1.")
                   .arg(otherwise),
               platform::MsgButtons::YesNo, platform::MsgIcon::Question,
               title) == platform::MsgAnswer::Yes) {
        const auto folder = platform::FolderDialog::Show(
            QStringLiteral("Choose a folder to save the databases into"));
        if (!folder)
            continue;
        const QString error = SaveDatabasesTo(*folder);
        platform::MessageBox::Show(
            error.isEmpty() ? QStringLiteral("The databases are saved in %1.").arg(*folder) : error,
            platform::MsgButtons::OK, platform::MsgIcon::Information,
            error.isEmpty() ? title : QStringLiteral("SAVE ERROR"));
        if (error.isEmpty())
            return;
    }
}

bool frmMain::event(QEvent* event)
{
    if (fitAgainWhenFramed && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
        frameGeometry() != geometry())
        FitOnScreen();
    return QMainWindow::event(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picToolbox && event->type() == QEvent::Resize)
        picToolbox_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::picToolbox_Resize()
{
    const int toolboxHeight = platform::PixelsToTwipsY(picToolbox->height());
    const int top = platform::TwipsToPixelsY(HintTop);
    txtHelp->setGeometry(0, top, picToolbox->width(),
                         platform::TwipsToPixelsY(qMax(0, toolboxHeight - HintTop)));
}

template <typename Form> void frmMain::ShowChild(QPointer<Form>& form)
{
    if (!form) {
        form = new Form();
        QMdiSubWindow* window = mdiArea->addSubWindow(form);
        window->setAttribute(Qt::WA_DeleteOnClose);
        form->Form_Load();
        platform::FitCaptions(form);
        PlaceInView(window);
    }
    auto* window = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    window->show();
    mdiArea->setActiveSubWindow(window);
}

void frmMain::PlaceInView(QMdiSubWindow* window)
{
    // Cascade: each further open window one title bar lower and to the right of the one before,
    // as far as the window still fits wholly inside the visible area; else the top left.
    const QRect visible = mdiArea->viewport()->rect();
    const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    int others = 0;
    for (QMdiSubWindow* other : mdiArea->subWindowList())
        if (other != window && other->isVisible())
            ++others;
    for (int place = others; place >= 0; --place) {
        const QRect at(QPoint(place * step, place * step), window->size());
        if (visible.contains(at) || place == 0) {
            window->move(at.topLeft());
            return;
        }
    }
}

void frmMain::SwitchPane()
{
    QMdiSubWindow* active = mdiArea->activeSubWindow();
    // Each side gets back the control that had the focus there last.
    const bool toWindow = active && picToolbox->isAncestorOf(QApplication::focusWidget());
    QWidget* side = toWindow ? active->widget() : picToolbox;
    QWidget* control = side->focusWidget();
    if (!control || !control->isVisible() || !control->isEnabled())
        control = toWindow ? active->widget()->nextInFocusChain() : cmdRecipes;
    control->setFocus(Qt::OtherFocusReason);
}

void frmMain::FillWindowMenu()
{
    mnuWindow->clear();
    connect(mnuWindow->addAction(QStringLiteral("&Cascade")), &QAction::triggered, mdiArea,
            &QMdiArea::cascadeSubWindows);
    connect(mnuWindow->addAction(QStringLiteral("&Tile")), &QAction::triggered, mdiArea,
            &QMdiArea::tileSubWindows);
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    if (!windows.isEmpty())
        mnuWindow->addSeparator();
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        QAction* entry = mnuWindow->addAction(
            QStringLiteral("&%1 %2").arg(++number).arg(window->widget()->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(window == mdiArea->activeSubWindow());
        connect(entry, &QAction::triggered, this, [this, window = QPointer<QMdiSubWindow>(window)] {
            if (window)
                mdiArea->setActiveSubWindow(window);
        });
    }
}

void frmMain::ShowChildMenus(QMdiSubWindow* active)
{
    for (const QPointer<QAction>& action : childMenuActions)
        if (action)
            menuBar()->removeAction(action);
    childMenuActions.clear();
    // The active window's own menus come before the Window menu.
    if (auto* child = active ? dynamic_cast<MdiChild*>(active->widget()) : nullptr)
        for (QAction* entry : child->MenuBarEntries()) {
            menuBar()->insertAction(mnuWindow->menuAction(), entry);
            childMenuActions.append(entry);
        }
}

void frmMain::cmdRecipes_Click()
{
    ShowChild(RecipeEditor);
    // The recipe browser's list follows the recipes the editor adds, renames and removes.
    RecipeEditor->RecipeListChanged = [this] {
        if (RecipeBrowser)
            RecipeBrowser->FollowRecipes();
    };
}

void frmMain::RecipeEdited()
{
    if (RecipeBrowser)
        RecipeBrowser->ShowCard();
}

void frmMain::cmdBrowse_Click()
{
    ShowChild(RecipeBrowser);
}
void frmMain::cmdShowHelp_Click()
{
    ShowChild(HelpBrowser);
}
void frmMain::cmdGlasses_Click()
{
    ShowChild(GlassEditor);
}
void frmMain::cmdIngredients_Click()
{
    ShowChild(IngredientEditor);
}

void frmMain::mnuCheckDatabase_Click()
{
    // An edit the active window stores when the focus leaves its control is checked too.
    if (QMdiSubWindow* active = mdiArea->activeSubWindow())
        platform::RunPendingValidation(active);
    // A window already open checks again; a new one checks as it loads.
    const bool open = DatabaseCheck;
    ShowChild(DatabaseCheck);
    if (open)
        DatabaseCheck->cmdCheckAgain_Click();
}
