#include "FocusEvents.h"

#include <QApplication>
#include <QEvent>
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
        // Focus moving into the control's own parts (a popup list, an edit box) is not lost.
        const auto* control = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::FocusIn && gotFocus)
            gotFocus();
        else if (event->type() == QEvent::FocusOut && lostFocus && !toOwnPart(control))
            lostFocus();
        return QObject::eventFilter(watched, event);
    }

private:
    static bool toOwnPart(const QWidget* control)
    {
        const QWidget* next = QApplication::focusWidget();
        return next && next != control && control->isAncestorOf(next);
    }

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
