#include "frmBrowse.h"

#include "app/frmMain.h"
#include "browse/BrowserLayout.h"
#include "platform/Controls.h"
#include "platform/FocusEvents.h"
#include "platform/Fonts.h"
#include "platform/ListView.h"
#include "platform/MessageBox.h"
#include "platform/Printing.h"
#include "platform/Twips.h"
#include "records/modGeneralAmounts.h"
#include "store/modCellarix.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

using namespace modCellarix;

frmBrowse::frmBrowse()
{
    setWindowTitle(QStringLiteral("Recipe Browser"));
    BrowserLayout::MakeWhite(this);
    lvRecipes = BrowserLayout::NameList(this);
    lvRecipes->setAccessibleName(QStringLiteral("Recipes"));
    lblName = BrowserLayout::CardLabel(this, platform::ArialFont(14.25, true));
    lblGlass = BrowserLayout::CardLabel(this, platform::ArialFont(12, false, true));
    lblIngs = BrowserLayout::CardLabel(this, platform::ArialFont(12));
    lblIngs->setWordWrap(true);
    lblAmt = BrowserLayout::CardLabel(this, platform::ArialFont(12));
    cmdPrint = new platform::CommandButton(QStringLiteral("Print Recipe"), this);
    cmdPrint->setFont(platform::TahomaFont());
    Place(lvRecipes, 0, 0, 2220, 4635);
    Place(lblName, 2400, 120, 4695, 375);
    Place(lblGlass, 2520, 600, 4695, 375);
    Place(lblIngs, 2520, 960, 720, 270);
    Place(lblAmt, 6600, 960, 1935, 3255);
    Place(cmdPrint, 7320, 4200, 1215, 375);
    setTabOrder(lvRecipes, cmdPrint);

    mnuPrint = new QAction(QStringLiteral("Print"), this);
    connect(mnuPrint, &QAction::triggered, this, [this] { cmdPrint_Click(); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    lvRecipes->ItemClick = [this](platform::ListItem*) { ShowRecipe(); };
    platform::OnFocus(
        lvRecipes,
        [] {
            ShowHint(QStringLiteral("Select a recipe from the list to display it on screen. Click "
                                    "the Print Recipe button to print a hardcopy of the currently "
                                    "selected recipe."));
        },
        nullptr);
}

void frmBrowse::Form_Load()
{
    BrowserLayout::FillByPosition(lvRecipes, colRecipes);
    SetClientSize(8610, 4635);
    ShowRecipe();
}

void frmBrowse::FollowRecipes()
{
    // The rows' positions are out of date by now: the recipe on the card is the one to keep.
    const std::shared_ptr<Recipe> selected = shownRecipe.lock();
    lvRecipes->Clear();
    BrowserLayout::FillByPosition(lvRecipes, colRecipes);
    for (int position = 1; selected && position <= colRecipes.Count(); ++position)
        if (colRecipes.Item(position) == selected)
            lvRecipes->SetSelectedItem(lvRecipes->Item(position));
    ShowRecipe();
}

void frmBrowse::ShowRecipe()
{
    const platform::ListItem* row = lvRecipes->SelectedItem();
    shownRecipe = row ? colRecipes.Item(row->Tag.toInt()) : nullptr;
    ShowCard();
}

void frmBrowse::ShowCard()
{
    // The recipe itself, not its row: the rows' positions are out of date while the recipe
    // editor adds, renames or removes recipes.
    const auto recipe = shownRecipe.lock();
    if (!recipe) {
        for (QLabel* label : {lblName, lblGlass, lblIngs, lblAmt})
            label->clear();
        return;
    }
    QString names, amounts;
    for (const auto& line : recipe->RecipeIngredients()) {
        names += line->Name + QLatin1Char('\n');
        if (line->Priority != 9 && line->Amount > 0)
            amounts += modGeneralAmounts::AmountText(quint8(line->Amount));
        amounts += QLatin1Char('\n');
    }
    BrowserLayout::ShowLine(lblName, recipe->Name);
    BrowserLayout::ShowLine(lblGlass, recipe->Glass);
    lblIngs->setText(names + QLatin1Char('\n') + BrowserLayout::DisplayText(recipe->Instructions));
    lblAmt->setText(amounts);
}

void frmBrowse::resizeEvent(QResizeEvent* event)
{
    MdiChild::resizeEvent(event);
    Form_Resize();
}

void frmBrowse::Form_Resize()
{
    const QSize outer = OuterSizeTwips();
    SetHeight(lvRecipes, qMax(0, outer.height() - 430));
    SetHeight(lblIngs, outer.height());
    // The amounts run alongside the names for as far as they go.
    SetHeight(lblAmt, outer.height());
    SetWidth(lblIngs, qBound(2000, outer.width() - LeftOf(lblIngs) - WidthOf(lblAmt) - 500, 5000));
    SetLeft(lblAmt, LeftOf(lblIngs) + WidthOf(lblIngs) + 500);
    int printLeft = outer.width() - WidthOf(cmdPrint) - 200;
    if (WidthOf(lvRecipes) + 200 > printLeft)
        printLeft = WidthOf(lvRecipes) + 200;
    SetLeft(cmdPrint, printLeft);
    SetTop(cmdPrint, outer.height() - platform::PixelsToTwipsY(cmdPrint->height()) - 500);
}

void frmBrowse::cmdPrint_Click()
{
    const platform::PrintResult result = platform::PrintWindowImage(this, windowTitle());
    if (!result.printed)
        platform::MessageBox::Show(
            QStringLiteral("The recipe could not be printed: %1.").arg(result.error),
            platform::MsgButtons::OK, platform::MsgIcon::Information,
            QStringLiteral("PRINT ERROR"));
    else if (!result.pdfPath.isEmpty())
        platform::MessageBox::Show(
            QStringLiteral("There is no printer on this machine. The recipe was written to '%1'.")
                .arg(result.pdfPath),
            platform::MsgButtons::OK, platform::MsgIcon::Information, QStringLiteral("PRINT"));
}
