// Got-focus and lost-focus handlers for any control, as the windows use them for hints.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace platform {

// Calls `gotFocus` when `control` gets the keyboard focus and `lostFocus` when it loses it, also
// when the focus leaves from one of its parts (the edit box of a name, its drop-down list). A
// list or menu opened over the control leaves it the focus. Either handler may be empty; they
// live as long as the control.
void OnFocus(QWidget* control, std::function<void()> gotFocus, std::function<void()> lostFocus);

} // namespace platform
