#include "frmGlasses.h"

#include "app/ListHelpers.h"
#include "app/frmMain.h"
#include "editors/EditorParts.h"
#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/FocusEvents.h"
#include "platform/Keys.h"
#include "platform/ListView.h"
#include "store/modCellarix.h"

#include <QCloseEvent>
#include <QLabel>

using namespace modCellarix;

namespace {
const QString NewGlassName = QStringLiteral("New Glass (change this)");
}

frmGlasses::frmGlasses()
{
    setWindowTitle(QStringLiteral("Glasses"));
    LV = new platform::ListView(this);
    LV->AddColumn(QStringLiteral("Name"));
    Place(LV, 0, 0, 6960, 1755);

    // Choosers of the glass's other attributes: present for the game's later use, never
    // filled or enabled.
    EditorParts::AddPlaceholder(this, lblCursor, cboCursor, QStringLiteral("Cursor :"),
                                {120, 1860, 915, 285}, {1080, 1800, 2295, 315});
    EditorParts::AddPlaceholder(this, lblOpacity, cboOpacity, QStringLiteral("Opacity Map :"),
                                {3480, 1860, 1035, 285}, {4560, 1800, 2295, 315});
    EditorParts::AddPlaceholder(this, lblShadow, cboShadow, QStringLiteral("Shadow :"),
                                {120, 2220, 915, 285}, {1080, 2160, 2295, 315});
    EditorParts::AddPlaceholder(this, lblHighlight, cboHighlight, QStringLiteral("Highlight :"),
                                {3480, 2220, 1035, 285}, {4560, 2160, 2295, 315});
    EditorParts::AddPlaceholder(this, lblAnimation, cboAnimation, QStringLiteral("Animation :"),
                                {120, 2580, 915, 285}, {1080, 2520, 2295, 315});
    EditorParts::AddPlaceholder(this, lblHelpTopic, cboHelpTopic, QStringLiteral("Help Topic :"),
                                {3480, 2580, 1035, 285}, {4560, 2520, 2295, 315});
    EditorParts::AddPlaceholder(this, lblZoom, cboZoom, QStringLiteral("Zoom :"),
                                {120, 2940, 1035, 285}, {1080, 2880, 2295, 315});

    lblHotspotID = new QLabel(QStringLiteral("Hotspot ID :"), this);
    cboHotspotID = new platform::DropDownList(this);
    txtDisplayText = new platform::TextBox(this);
    Place(lblHotspotID, 3480, 2940, 915, 285);
    Place(cboHotspotID, 4560, 2880, 1335, 315);
    Place(txtDisplayText, 0, 3240, 6960, 3195);
    LV->setAccessibleName(QStringLiteral("Glasses"));
    platform::LinkLabel(lblHotspotID, cboHotspotID);
    txtDisplayText->setAccessibleName(QStringLiteral("Display text"));
    QWidget::setTabOrder(LV, cboHotspotID);
    QWidget::setTabOrder(cboHotspotID, txtDisplayText);

    platform::OnKeys(
        LV, [this](int& code, int shift) { LV_KeyDown(code, shift); },
        platform::EnterMovesToNextControl(LV));
    LV->ItemClick = [this](platform::ListItem* row) { SelectRow(row); };
    LV->AfterLabelEdit = [this](bool& cancel, const QString& text) {
        LV_AfterLabelEdit(cancel, text);
    };
    platform::OnKeys(cboHotspotID, nullptr, platform::EnterMovesToNextControl(cboHotspotID));
    cboHotspotID->Click = [this] {
        if (cboHotspotID->ListIndex() >= 0 && SelectedGlass)
            SelectedGlass->HotSpotID = quint8(cboHotspotID->ListIndex());
    };
    EditorParts::AcceptStorableTextOnly(txtDisplayText);
    txtDisplayText->Change = [this] {
        if (SelectedGlass)
            SelectedGlass->DisplayText = txtDisplayText->Text();
    };
    EditorParts::Hint(LV, QStringLiteral("Press F2 to edit the name of the glass, INS to add a new "
                                         "glass, and DEL to delete the current glass ..."));
}

void frmGlasses::Form_Load()
{
    EditorParts::RefuseEditsWhenReadOnly(this);
    FillHotspotList();
    MoveToTopLeft();
    SetFixedClientSize(6960, 6435);
    LV->Clear();
    LV->SetSorted(false); // filled in collection order, sorted once below
    for (const auto& glass : colGlasses)
        LV->Add(glass->Name, glass->Name);
    SortByColumn(LV, 1, true);
    AutoSizeColumns(LV);
    LV->SetSelectedItem(LV->Count() > 0 ? LV->Item(1) : nullptr);
    SelectRow(LV->SelectedItem());
    SetCaption();
}

void frmGlasses::FillHotspotList()
{
    EditorParts::FillHotspotList(cboHotspotID);
}

void frmGlasses::SetCaption()
{
    setWindowTitle(QStringLiteral("Glasses - (%1 Entries)").arg(colGlasses.Count()));
}

void frmGlasses::SelectRow(platform::ListItem* row)
{
    const bool hasRow = row != nullptr;
    for (QWidget* control :
         std::initializer_list<QWidget*>{lblHotspotID, cboHotspotID, txtDisplayText})
        control->setEnabled(hasRow);
    if (!hasRow) {
        SelectedGlass = nullptr;
        cboHotspotID->SetListIndex(-1);
        txtDisplayText->SetText(QString());
        return;
    }
    LV->SetSelectedItem(row);
    SelectedGlass = colGlasses.Item(row->Key());
    cboHotspotID->SetListIndex(-1);
    if (SelectedGlass) {
        cboHotspotID->SetListIndex(SelectedGlass->HotSpotID);
        txtDisplayText->SetText(SelectedGlass->DisplayText);
    }
}

void frmGlasses::LV_KeyDown(int& keyCode, int)
{
    if (keyCode == platform::KeyCode::Insert)
        AddGlass();
    else if (keyCode == platform::KeyCode::Delete)
        RemoveGlass();
    else if (keyCode == platform::KeyCode::F2)
        LV->StartLabelEdit();
}

void frmGlasses::AddGlass()
{
    const bool yes = EditorParts::Confirm(QStringLiteral("Add a new glass to the database ?"),
                                          QStringLiteral("ADD GLASS"));
    LV->setFocus();
    if (!yes)
        return;
    auto glass = std::make_shared<Glass>();
    glass->Name = NewGlassName;
    glass->HotSpotID = 255;
    // The list is sorted by name, so the new row takes its place in name order.
    if (colGlasses.Add(glass->Name, glass))
        LV->Add(glass->Name, glass->Name);
    platform::ListItem* row = LV->Item(NewGlassName);
    AutoSizeColumns(LV);
    LV->EnsureVisible(row);
    SelectRow(row);
    SetCaption();
}

void frmGlasses::LV_AfterLabelEdit(bool& cancel, const QString& newString)
{
    if (EditorParts::RefuseUnstorableName(newString)) {
        LV->setFocus();
        cancel = true;
        return;
    }
    // The name is checked as the glass file will hold it.
    const QString name = EditorParts::NameAsStored(newString);
    if (!colGlasses.Add(name, std::make_shared<Glass>())) {
        EditorParts::Refuse(QStringLiteral("Glass '%1' already in the database.").arg(name));
        LV->setFocus();
        cancel = true;
        if (platform::ListItem* other = LV->Item(name))
            SelectRow(other);
        return;
    }
    colGlasses.Remove(name);
    const auto glass = SelectedGlass;
    platform::ListItem* row = glass ? LV->Item(glass->Name) : nullptr;
    if (!row) {
        cancel = true;
        return;
    }
    colGlasses.Remove(glass->Name);
    LV->Remove(glass->Name);
    glass->Name = name;
    colGlasses.Add(name, glass);
    // The list is sorted by name, so the renamed row takes its place in name order.
    row = LV->Add(name, name);
    LV->SetSelectedItem(row);
    AutoSizeColumns(LV);
    SelectRow(row);
}

void frmGlasses::RemoveGlass()
{
    if (!SelectedGlass)
        return;
    const bool yes =
        EditorParts::Confirm(QStringLiteral("Remove glass '%1' ?").arg(SelectedGlass->Name),
                             QStringLiteral("REMOVE GLASS"));
    LV->setFocus();
    if (!yes)
        return;
    colGlasses.Remove(SelectedGlass->Name);
    LV->Remove(SelectedGlass->Name);
    LV->SetSelectedItem(LV->Count() > 0 ? LV->Item(1) : nullptr);
    AutoSizeColumns(LV);
    SelectRow(LV->SelectedItem());
    SetCaption();
}

void frmGlasses::closeEvent(QCloseEvent* event)
{
    ShowHint(QString());
    event->accept();
}
