#include "LabelEditor.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace platform {

namespace {
// The edit box keeps every key pressed in it: none reaches the view's own key handling.
class LabelBox : public QLineEdit {
public:
    explicit LabelBox(QWidget* parent) : QLineEdit(parent) {}
    bool OpensOwnMenu() const { return opensOwnMenu; }

protected:
    // The box's own menu (Cut, Copy, Paste ...) takes the focus as it opens; the edit goes on.
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        opensOwnMenu = true;
        QLineEdit::contextMenuEvent(event);
        opensOwnMenu = false;
    }
    // Shortcuts of the window and its menus (Ctrl+O, Ctrl+K ...) do not act either: they would
    // act while the name is half typed, on whatever record is current then.
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        return QLineEdit::event(event);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        QLineEdit::keyPressEvent(event);
        event->accept();
    }

private:
    bool opensOwnMenu = false;
};
} // namespace

LabelEditor::LabelEditor(QAbstractItemView* view) : QObject(view), view(view) {}

void LabelEditor::Start(const QModelIndex& index, std::function<void(const QString&)> done)
{
    if (editor || !index.isValid())
        return;
    view->scrollTo(index);
    finished = std::move(done);
    editor = new LabelBox(view->viewport());
    editor->setObjectName(QStringLiteral("labelEditor"));
    editor->setAccessibleName(QStringLiteral("Name")); // every label edited in place is a name
    editor->setFrame(true);
    editor->setText(index.data().toString());
    const QRect rect = view->visualRect(index);
    editor->setGeometry(rect.x(), rect.y(), qMax(rect.width(), 60), rect.height());
    editor->installEventFilter(this);
    editor->show();
    editor->selectAll();
    editor->setFocus(Qt::OtherFocusReason);
}

bool LabelEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == editor) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
                Finish(key != Qt::Key_Escape);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut &&
                   !static_cast<LabelBox*>(editor.data())->OpensOwnMenu()) {
            Finish(true);
        }
    }
    return QObject::eventFilter(watched, event);
}

void LabelEditor::Finish(bool commit)
{
    if (!editor)
        return;
    const QString text = editor->text();
    QLineEdit* closing = editor;
    editor = nullptr;
    closing->removeEventFilter(this);
    if (closing->hasFocus())
        view->setFocus(Qt::OtherFocusReason);
    closing->hide();
    closing->deleteLater();
    auto done = std::move(finished);
    finished = nullptr;
    if (commit && done)
        done(text);
}

} // namespace platform
