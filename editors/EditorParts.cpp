#include "EditorParts.h"

#include "app/frmMain.h"
#include "platform/Controls.h"
#include "platform/FocusEvents.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "store/modCellarix.h"

#include <QLabel>

namespace EditorParts {

void Refuse(const QString& text, const QString& title)
{
    platform::MessageBox::Show(text, platform::MsgButtons::OK, platform::MsgIcon::Information,
                               title);
}

bool Confirm(const QString& text, const QString& title)
{
    return platform::MessageBox::Show(text, platform::MsgButtons::YesNo,
                                      platform::MsgIcon::Question,
                                      title) == platform::MsgAnswer::Yes;
}

void Hint(QWidget* control, const QString& hint)
{
    platform::OnFocus(
        control, [hint] { modCellarix::ShowHint(hint); }, [] { modCellarix::ShowHint(QString()); });
}

void FillHotspotList(platform::DropDownList* list)
{
    list->Clear();
    for (int number = 0; number <= 254; ++number)
        list->AddItem(QString::number(number));
    list->AddItem(QStringLiteral("(Unassigned)"));
}

void AddPlaceholder(QWidget* window, QLabel*& label, platform::DropDownList*& list,
                    const QString& caption, QRect labelAt, QRect listAt)
{
    label = new QLabel(caption, window);
    list = new platform::DropDownList(window);
    label->setGeometry(
        platform::TwipsRect(labelAt.x(), labelAt.y(), labelAt.width(), labelAt.height()));
    list->setGeometry(platform::TwipsRect(listAt.x(), listAt.y(), listAt.width(), listAt.height()));
    label->setEnabled(false);
    list->setEnabled(false);
}

} // namespace EditorParts
