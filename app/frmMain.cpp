#include "frmMain.h"

#include "browse/frmBrowse.h"
#include "browse/frmHelp.h"
#include "editors/frmGlasses.h"
#include "editors/frmIngredients.h"
#include "editors/frmRecipes.h"
#include "platform/Events.h"
#include "platform/FocusEvents.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "store/modCellarix.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
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

    connect(mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::ShowChildMenus);

    resize(platform::TwipsToPixelsX(11175),
           platform::TwipsToPixelsY(8925) + menuBar()->sizeHint().height());
    picToolbox_Resize();
}

QPushButton* frmMain::AddToolboxButton(const QString& caption, int top, bool visible, bool enabled)
{
    auto* button = new QPushButton(caption, picToolbox);
    button->setGeometry(platform::TwipsRect(ButtonLeft, top, ButtonWidth, ButtonHeight));
    button->setVisible(visible);
    button->setEnabled(enabled);
    return button;
}

void frmMain::MDIForm_Load()
{
    state = State::Loading;
    // Until every database is in memory the toolbox takes no clicks: a window opened now
    // would show half-loaded data.
    picToolbox->setEnabled(false);

    ShowHint(QStringLiteral("Watch this space for helpful hints ..."));
    show();
    {
        // The window repaints while the files load but takes no input; a close asked for
        // meanwhile is carried out once everything is loaded.
        const platform::InputHeldBack held([this](QObject* window) {
            if (window == this || window == windowHandle())
                closeRequestedWhileLoading = true;
        });
        InitDataPath();
        LoadGlasses(platform::ProcessPendingEvents);
        LoadIngredients(platform::ProcessPendingEvents);
        LoadHelpTopics();
        RecipeDatabasePath = DataPath + QStringLiteral("Recipes.Dat");
        LoadRecipes();
    }

    picToolbox->setEnabled(true);
    state = State::Ready;
    ShowStoreMessages(ReportLoadProblems(
        {Database::Glasses, Database::Ingredients, Database::HelpTopics, Database::Recipes}));
    if (closeRequestedWhileLoading)
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
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
    ReleaseCollections();
    state = State::Ended;
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
    }
    auto* window = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    window->show();
    mdiArea->setActiveSubWindow(window);
}

void frmMain::ShowChildMenus(QMdiSubWindow* active)
{
    for (const QPointer<QAction>& action : childMenuActions)
        if (action)
            menuBar()->removeAction(action);
    childMenuActions.clear();
    if (auto* child = active ? dynamic_cast<MdiChild*>(active->widget()) : nullptr)
        for (QAction* entry : child->MenuBarEntries()) {
            menuBar()->addAction(entry);
            childMenuActions.append(entry);
        }
}

void frmMain::cmdRecipes_Click()
{
    ShowChild(RecipeEditor);
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
