// Got-focus and lost-focus handlers for any control, as the windows use them for hints.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace platform {

// Calls `gotFocus` when `control` gets the keyboard focus and `lostFocus` when it loses it;
// either may be empty. The handlers live as long as the control.
void OnFocus(QWidget* control, std::function<void()> gotFocus, std::function<void()> lostFocus);

} // namespace platform
