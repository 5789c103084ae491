// The glass editor: the list of glasses, adding, renaming and removing them, and the selected
// glass's hot-spot number and display text.
#pragma once

#include "app/MdiChild.h"
#include "records/Glass.h"

#include <memory>

class QLabel;
namespace platform {
class DropDownList;
class ListItem;
class ListView;
class TextBox;
} // namespace platform

class frmGlasses : public MdiChild {
public:
    frmGlasses();
    void Form_Load() override;

    platform::ListView* LV;
    QLabel* lblCursor;
    platform::DropDownList* cboCursor;
    QLabel* lblOpacity;
    platform::DropDownList* cboOpacity;
    QLabel* lblShadow;
    platform::DropDownList* cboShadow;
    QLabel* lblHighlight;
    platform::DropDownList* cboHighlight;
    QLabel* lblAnimation;
    platform::DropDownList* cboAnimation;
    QLabel* lblHelpTopic;
    platform::DropDownList* cboHelpTopic;
    QLabel* lblZoom;
    platform::DropDownList* cboZoom;
    QLabel* lblHotspotID;
    platform::DropDownList* cboHotspotID;
    platform::TextBox* txtDisplayText;

    // The glass whose row is selected, or none.
    std::shared_ptr<Glass> SelectedGlass;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FillHotspotList();
    void AddGlass();
    void RemoveGlass();
    void SelectRow(platform::ListItem* row);
    void SetCaption();
    void LV_KeyDown(int& keyCode, int shift);
    void LV_AfterLabelEdit(bool& cancel, const QString& newString);
};
