#include "frmHelp.h"

#include "app/frmMain.h"
#include "browse/BrowserLayout.h"
#include "platform/FocusEvents.h"
#include "platform/Fonts.h"
#include "platform/ListView.h"
#include "store/modCellarix.h"

#include <QLabel>

using namespace modCellarix;

frmHelp::frmHelp()
{
    setWindowTitle(QStringLiteral("Help Browser"));
    BrowserLayout::MakeWhite(this);
    lvHelpTopics = BrowserLayout::NameList(this);
    lvHelpTopics->setAccessibleName(QStringLiteral("Help topics"));
    lblName = BrowserLayout::CardLabel(this, platform::ArialFont(14.25, true));
    lblInst = BrowserLayout::CardLabel(this, platform::ArialFont(12));
    lblInst->setWordWrap(true);
    Place(lvHelpTopics, 0, 0, 2220, 4635);
    Place(lblName, 2400, 120, 4695, 375);
    Place(lblInst, 2520, 600, 720, 270);
    lvHelpTopics->ItemClick = [this](platform::ListItem*) { ShowTopic(); };
    platform::OnFocus(
        lvHelpTopics,
        [] {
            ShowHint(QStringLiteral("Select a Help Topic from the list to display it on screen."));
        },
        nullptr);
}

void frmHelp::Form_Load()
{
    BrowserLayout::FillByPosition(lvHelpTopics, colHelpTopics);
    SetClientSize(4680, 3195);
    ShowTopic();
}

void frmHelp::ShowTopic()
{
    const platform::ListItem* row = lvHelpTopics->SelectedItem();
    const auto topic = row ? colHelpTopics.Item(row->Tag.toInt()) : nullptr;
    BrowserLayout::ShowLine(lblName, topic ? topic->Name : QString());
    lblInst->setText(topic ? BrowserLayout::DisplayText(topic->Data) : QString());
}

void frmHelp::resizeEvent(QResizeEvent* event)
{
    MdiChild::resizeEvent(event);
    Form_Resize();
}

void frmHelp::Form_Resize()
{
    const QSize outer = OuterSizeTwips();
    SetHeight(lvHelpTopics, qMax(0, outer.height() - 430));
    SetHeight(lblInst, outer.height());
    SetWidth(lblInst, qBound(2000, outer.width() - LeftOf(lblInst) - 500, 10000));
}
