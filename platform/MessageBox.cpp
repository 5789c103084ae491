#include "MessageBox.h"

#include "DialogScript.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {
DialogScript<ShownMessage, MsgAnswer>& Script()
{
    static DialogScript<ShownMessage, MsgAnswer> script;
    return script;
}
} // namespace

MsgAnswer MessageBox::Show(const QString& text, MsgButtons buttons, MsgIcon icon,
                           const QString& title)
{
    const MsgAnswer safeAnswer = buttons == MsgButtons::OK ? MsgAnswer::OK : MsgAnswer::No;
    if (auto scripted = Script().Take(ShownMessage{text, title, icon, buttons}, safeAnswer))
        return *scripted;

    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (buttons != MsgButtons::OK) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(buttons == MsgButtons::YesNo ? QMessageBox::Yes : QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::OK;
}

void MessageBox::SetScripted(bool scripted)
{
    Script().SetScripted(scripted);
}

void MessageBox::SetNextAnswer(MsgAnswer answer)
{
    Script().SetNextAnswer(answer);
}

const QList<ShownMessage>& MessageBox::Shown()
{
    return Script().Shown();
}

void MessageBox::ClearShown()
{
    Script().ClearShown();
}

} // namespace platform
