// Keyboard and focus behaviour shared by every control: key-down and key-press handlers with
// the key codes the windows test, validation when the focus is about to leave a control, and
// moving the focus on as the Tab key would.
#pragma once

#include <functional>

class QWidget;

namespace platform {

// Key codes passed to key-down handlers.
namespace KeyCode {
constexpr int Tab = 9, Enter = 13, Escape = 27, Insert = 45, Delete = 46, F2 = 113;
}
// Shift state bits passed with a key code.
namespace ShiftState {
constexpr int Shift = 1, Ctrl = 2, Alt = 4;
}

// `keyDown` sees every key pressed in `control` with its code and shift state; setting the code
// to 0 swallows the key. `keyPress` then sees the character typed (13 for Enter); setting it to
// 0 swallows it. Either handler may be empty.
void OnKeys(QWidget* control, std::function<void(int& keyCode, int shift)> keyDown,
            std::function<void(int& keyAscii)> keyPress);

// Runs `validate` when the focus leaves `control`, as OnFocus tells it (for another control,
// window or program, not for a list or menu opened over it), and when RunPendingValidation is
// asked for.
void OnValidate(QWidget* control, std::function<void()> validate);

// Runs the validation of the control of `window` that has the focus, if it has one.
void RunPendingValidation(QWidget* window);

// Moves the focus from `control` to the next control in tab order, as a Tab key would.
void MoveFocusToNextControl(QWidget* control);

// Handler for the Enter-moves-on behaviour: swallows Enter and moves the focus on.
std::function<void(int& keyAscii)> EnterMovesToNextControl(QWidget* control);

} // namespace platform
