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
    const int pressed = Make(text, buttons, icon, title)->exec();
    if (buttons == MsgButtons::OK)
        return MsgAnswer::OK;
    return pressed == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

std::unique_ptr<QMessageBox> MessageBox::Make(const QString& text, MsgButtons buttons, MsgIcon icon,
                                              const QString& title)
{
    auto box = std::make_unique<QMessageBox>(QApplication::activeWindow());
    box->setWindowTitle(title);
    // Names in messages are shown as typed, even one that looks like markup ("<b>Pint</b>").
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    switch (icon) {
    case MsgIcon::Information:
        box->setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Question:
        box->setIcon(QMessageBox::Question);
        break;
    }
    if (buttons == MsgButtons::OK) {
        box->setStandardButtons(QMessageBox::Ok);
    } else {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(buttons == MsgButtons::YesNo ? QMessageBox::Yes : QMessageBox::No);
    }
    return box;
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
