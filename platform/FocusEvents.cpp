#include "FocusEvents.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace platform {

namespace {
// True when the focus, as `control` gets a focus-out event, is still in the control or one of its
// parts: a menu opening over it leaves the focus where it was, and a drop-down list is a window of
// its own, but a child of the control it belongs to.
bool FocusStaysWith(const QWidget* control)
{
    for (const QWidget* next = QApplication::focusWidget(); next; next = next->parentWidget())
        if (next == control)
            return true;
    return false;
}

class FocusFilter : public QObject {
public:
    FocusFilter(QWidget* control, std::function<void()> got, std::function<void()> lost)
        : QObject(control), control(control), gotFocus(std::move(got)), lostFocus(std::move(lost))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn && watched == control && gotFocus) {
            gotFocus();
        } else if (event->type() == QEvent::FocusOut && lostFocus) {
            QWidget* part = QApplication::focusWidget();
            if (!FocusStaysWith(control))
                lostFocus();
            else if (part != control)
                part->installEventFilter(this); // the focus may leave the control from there
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* control;
    std::function<void()> gotFocus;
    std::function<void()> lostFocus;
};
} // namespace

void OnFocus(QWidget* control, std::function<void()> gotFocus, std::function<void()> lostFocus)
{
    control->installEventFilter(
        new FocusFilter(control, std::move(gotFocus), std::move(lostFocus)));
}

} // namespace platform
