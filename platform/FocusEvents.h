// Got-focus and lost-focus handlers for any control, as the windows use them for hints.
#pragma once

#include <QObject>

#include <functional>

class QFocusEvent;
class QWidget;

namespace platform {

// Calls `gotFocus` when `control` gets the keyboard focus and `lostFocus` when it loses it;
// either may be empty. The handlers live as long as the control.
void OnFocus(QWidget* control, std::function<void()> gotFocus, std::function<void()> lostFocus);

// True when the focus-out `event` of `control` does not take the focus away from it: the focus
// moves into the control's own parts (an edit box, its drop-down list, its own menu), or a popup
// opens over it (a menu of the window).
bool FocusStaysWith(const QWidget* control, const QFocusEvent* event);

} // namespace platform
