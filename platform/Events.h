#pragma once

#include <QObject>

#include <functional>

namespace platform {

// Lets the user interface handle the events waiting for it, from inside a long loop.
void ProcessPendingEvents();

// Shows the screen-wide busy pointer, or restores the default pointer.
void SetBusyPointer(bool busy);

// While it lives, no user input reaches any window: key presses, mouse clicks and wheel turns,
// shortcuts and requests to close a window are dropped, so that the windows can repaint in the
// middle of a load or a save without acting on anything. Input still waiting when it ends is
// dropped as well. `closeRequested`, when given, hears of each dropped close request with the
// object it was meant for (a window, or its window on the screen).
class InputHeldBack : public QObject {
public:
    explicit InputHeldBack(std::function<void(QObject* window)> closeRequested = nullptr);
    ~InputHeldBack() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(QObject*)> closeRequested;
};

} // namespace platform
