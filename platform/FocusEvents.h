// Got-focus and lost-focus handlers for any control, as the windows use them for hints.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace platform {

// Calls `gotFocus` when `control` gets the keyboard focus and `lostFocus` when it loses it, also
// when the focus leaves from one of its parts (the edit box of a name); either may be empty. The
// handlers live as long as the control.
void OnFocus(QWidget* control, std::function<void()> gotFocus, std::function<void()> lostFocus);

// True when `control`, as it gets a focus-out event, keeps the focus all the same: the focus moves
// into the control's own parts (an edit box, its drop-down list), or a menu opens over it (its
// own or one of the window), which leaves the focus where it was.
bool FocusStaysWith(const QWidget* control);

} // namespace platform
