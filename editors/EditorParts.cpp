#include "EditorParts.h"

#include "app/frmMain.h"
#include "platform/Captions.h"
#include "platform/Controls.h"
#include "platform/FocusEvents.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"
#include "records/AnsiText.h"
#include "store/modCellarix.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace EditorParts {

void Refuse(const QString& text, const QString& title)
{
    platform::MessageBox::Show(text, platform::MsgButtons::OK, platform::MsgIcon::Information,
                               title);
}

bool Confirm(const QString& text, const QString& title)
{
    return platform::MessageBox::Show(text, platform::MsgButtons::YesNo,
                                      platform::MsgIcon::Question,
                                      title) == platform::MsgAnswer::Yes;
}

void Hint(QWidget* control, const QString& hint)
{
    platform::OnFocus(
        control, [hint] { modCellarix::ShowHint(hint); }, [] { modCellarix::ShowHint(QString()); });
}

namespace {

// True when `event` on `control` would change what the control shows, and so the record.
bool WouldChange(QObject* control, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        return qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractButton*>(control);
    // The wheel chooses in a chooser that has the focus; over any other it changes nothing.
    if (event->type() == QEvent::Wheel)
        return qobject_cast<QComboBox*>(control) && static_cast<QWidget*>(control)->hasFocus();
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (qobject_cast<QAbstractItemView*>(control))
        return key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete ||
               key->key() == Qt::Key_F2;
    const bool typed = !key->text().isEmpty() && key->key() != Qt::Key_Tab &&
                       key->key() != Qt::Key_Backtab && key->key() != Qt::Key_Escape;
    if (qobject_cast<QLineEdit*>(control) || qobject_cast<QPlainTextEdit*>(control))
        return (typed && !(qobject_cast<QLineEdit*>(control) && key->key() == Qt::Key_Return)) ||
               key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ||
               key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut) ||
               key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo);
    if (qobject_cast<QComboBox*>(control))
        return (typed && key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
               key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
               key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown ||
               key->key() == Qt::Key_Home || key->key() == Qt::Key_End || key->key() == Qt::Key_F4;
    if (qobject_cast<QAbstractButton*>(control))
        return key->key() == Qt::Key_Space ||
               (qobject_cast<QPushButton*>(control) &&
                (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter));
    return false;
}

class ReadOnlyGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!modCellarix::ReadOnly || !WouldChange(watched, event))
            return false;
        Refuse(QStringLiteral("The databases are open read-only."),
               QStringLiteral("INVALID ACTION"));
        return true;
    }
};

} // namespace

void RefuseEditsWhenReadOnly(QWidget* window)
{
    const QString name = QStringLiteral("readOnlyGuard");
    if (window->findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
        return;
    auto* guard = new ReadOnlyGuard(window);
    guard->setObjectName(name);
    for (QWidget* control : window->findChildren<QWidget*>())
        control->installEventFilter(guard);
    // Text also arrives by paths that are not key presses (the context menu's Paste, a middle
    // click, a drop, an input method): the text boxes themselves take none of it.
    if (modCellarix::ReadOnly)
        for (QPlainTextEdit* box : window->findChildren<QPlainTextEdit*>())
            box->setReadOnly(true);
}

void FillHotspotList(platform::DropDownList* list)
{
    list->Clear();
    for (int number = 0; number <= 254; ++number)
        list->AddItem(QString::number(number));
    list->AddItem(QStringLiteral("(Unassigned)"));
}

namespace {
// The characters of `text`, a surrogate pair as one.
QStringList Characters(const QString& text)
{
    QStringList characters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        characters << text.mid(i, pair ? 2 : 1);
        i += pair ? 1 : 0;
    }
    return characters;
}
} // namespace

QString NameAsStored(const QString& typed)
{
    return AnsiText::TrimSpaces(AnsiText::TrimSpaces(typed).left(AnsiText::FixedFieldSize));
}

bool RefuseUnstorableName(const QString& typed)
{
    for (const QString& character : Characters(typed))
        if (!AnsiText::CanHold(character)) {
            Refuse(QStringLiteral("A name cannot hold the character '%1': the database files hold "
                                  "only the characters of the Windows-1252 code page.")
                       .arg(character));
            return true;
        }
    return false;
}

void AcceptStorableTextOnly(platform::TextBox* box)
{
    box->FilterInput = [](QString& text) {
        QString held, replaced;
        for (const QString& character : Characters(text)) {
            if (character == QChar::LineSeparator || character == QChar::ParagraphSeparator) {
                held += QLatin1Char('\n'); // a line break, as the files hold it
            } else if (AnsiText::CanHold(character)) {
                held += character;
            } else {
                held += QLatin1Char('?');
                if (!replaced.contains(character))
                    replaced += character;
            }
        }
        text = held;
        return replaced;
    };
    box->InputFiltered = [](const QString& replaced) {
        Refuse(QStringLiteral("The database files cannot hold these characters, so they were "
                              "replaced by \"?\": %1")
                   .arg(Characters(replaced).join(QLatin1Char(' '))));
    };
}

void AddPlaceholder(QWidget* window, QLabel*& label, platform::DropDownList*& list,
                    const QString& caption, QRect labelAt, QRect listAt)
{
    label = new QLabel(caption, window);
    list = new platform::DropDownList(window);
    label->setGeometry(
        platform::TwipsRect(labelAt.x(), labelAt.y(), labelAt.width(), labelAt.height()));
    list->setGeometry(platform::TwipsRect(listAt.x(), listAt.y(), listAt.width(), listAt.height()));
    platform::LinkLabel(label, list);
    label->setEnabled(false);
    list->setEnabled(false);
}

} // namespace EditorParts
