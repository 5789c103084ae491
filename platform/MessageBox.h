// Message boxes. Every message the system shows goes through MessageBox::Show, which tests
// can script (the answer to give, without showing anything) and inspect (what was shown).
#pragma once

#include <QList>
#include <QString>

#include <memory>

class QMessageBox;

namespace platform {

enum class MsgIcon { Information, Question };
// YesNo has Yes as its default button (Enter), YesNoDefaultNo has No.
enum class MsgButtons { OK, YesNo, YesNoDefaultNo };
enum class MsgAnswer { OK, Yes, No };

struct ShownMessage {
    QString text;
    QString title;
    MsgIcon icon;
    MsgButtons buttons;
};

class MessageBox {
public:
    // Shows a modal message box and returns the button pressed.
    static MsgAnswer Show(const QString& text, MsgButtons buttons, MsgIcon icon,
                          const QString& title);
    // The box Show runs, not yet shown.
    static std::unique_ptr<QMessageBox> Make(const QString& text, MsgButtons buttons, MsgIcon icon,
                                             const QString& title);

    // Tests: while scripted, no box is shown; each Show returns the next queued answer, or
    // when none is queued the safe one (OK, or No for a question).
    static void SetScripted(bool scripted);
    static void SetNextAnswer(MsgAnswer answer);
    // Every message shown since the last ClearShown, oldest first.
    static const QList<ShownMessage>& Shown();
    static void ClearShown();
};

} // namespace platform
