#include "Keys.h"

#include "FocusEvents.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QWidget>

namespace platform {

namespace {

int CodeOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Tab:
        return KeyCode::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCode::Enter;
    case Qt::Key_Escape:
        return KeyCode::Escape;
    case Qt::Key_Insert:
        return KeyCode::Insert;
    case Qt::Key_Delete:
        return KeyCode::Delete;
    case Qt::Key_F2:
        return KeyCode::F2;
    default:
        return (qtKey >= 0x20 && qtKey <= 0x7E) ? qtKey : 0x10000 + qtKey;
    }
}

int ShiftOf(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? ShiftState::Shift : 0) |
           (modifiers & Qt::ControlModifier ? ShiftState::Ctrl : 0) |
           (modifiers & Qt::AltModifier ? ShiftState::Alt : 0);
}

class KeyFilter : public QObject {
public:
    KeyFilter(QWidget* control, std::function<void(int&, int)> down,
              std::function<void(int&)> press)
        : QObject(control), keyDown(std::move(down)), keyPress(std::move(press))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        if (keyDown) {
            int code = CodeOf(key->key());
            keyDown(code, ShiftOf(key->modifiers()));
            if (code == 0)
                return true;
        }
        if (keyPress) {
            int ascii = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                            ? 13
                            : (key->text().size() == 1 ? key->text().at(0).unicode() : 0);
            if (ascii != 0) {
                keyPress(ascii);
                if (ascii == 0)
                    return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int&, int)> keyDown;
    std::function<void(int&)> keyPress;
};

const char* const ValidateProperty = "mixoraValidate";

// What RunPendingValidation runs for a control.
class PendingValidation : public QObject {
public:
    PendingValidation(QWidget* control, std::function<void()> validate)
        : QObject(control), validate(std::move(validate))
    {
    }
    const std::function<void()> validate;
};

} // namespace

void OnKeys(QWidget* control, std::function<void(int&, int)> keyDown,
            std::function<void(int&)> keyPress)
{
    control->installEventFilter(new KeyFilter(control, std::move(keyDown), std::move(keyPress)));
}

void OnValidate(QWidget* control, std::function<void()> validate)
{
    auto* pending = new PendingValidation(control, validate);
    control->setProperty(ValidateProperty, QVariant::fromValue<QObject*>(pending));
    OnFocus(control, nullptr, std::move(validate));
}

void RunPendingValidation(QWidget* window)
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (!window->isAncestorOf(w) && w != window)
            return;
        if (auto* pending = w->property(ValidateProperty).value<QObject*>()) {
            static_cast<PendingValidation*>(pending)->validate();
            return;
        }
    }
}

void MoveFocusToNextControl(QWidget* control)
{
    // The focus stays inside the control's own window: a child window of the main window counts
    // as a window of its own, as it does for the Tab key.
    QWidget* window = control;
    while (!window->isWindow() && window->parentWidget() &&
           !qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        window = window->parentWidget();
    for (QWidget* w = control->nextInFocusChain(); w && w != control; w = w->nextInFocusChain()) {
        if (window->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(window) &&
            (w->focusPolicy() & Qt::TabFocus) && !control->isAncestorOf(w)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

std::function<void(int&)> EnterMovesToNextControl(QWidget* control)
{
    return [control](int& keyAscii) {
        if (keyAscii == 13) {
            keyAscii = 0;
            MoveFocusToNextControl(control);
        }
    };
}

} // namespace platform
