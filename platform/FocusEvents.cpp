#include "FocusEvents.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

namespace platform {

namespace {
class FocusFilter : public QObject {
public:
    FocusFilter(QWidget* control, std::function<void()> got, std::function<void()> lost)
        : QObject(control), gotFocus(std::move(got)), lostFocus(std::move(lost))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn && gotFocus)
            gotFocus();
        else if (event->type() == QEvent::FocusOut && lostFocus &&
                 !FocusStaysWith(static_cast<QWidget*>(watched), static_cast<QFocusEvent*>(event)))
            lostFocus();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> gotFocus;
    std::function<void()> lostFocus;
};
} // namespace

bool FocusStaysWith(const QWidget* control, const QFocusEvent* event)
{
    if (event->reason() == Qt::PopupFocusReason)
        return true;
    // A drop-down list or a menu is a window of its own, but a child of the control it belongs
    // to.
    for (const QWidget* next = QApplication::focusWidget(); next; next = next->parentWidget())
        if (next == control)
            return true;
    return false;
}

void OnFocus(QWidget* control, std::function<void()> gotFocus, std::function<void()> lostFocus)
{
    control->installEventFilter(
        new FocusFilter(control, std::move(gotFocus), std::move(lostFocus)));
}

} // namespace platform
