#include "Controls.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocument>
#include <QWheelEvent>

namespace platform {

Chooser::Chooser(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    // The wheel does not give the focus either (a combo box's own policy lets it).
    setFocusPolicy(Qt::StrongFocus);
    connect(this, qOverload<int>(&QComboBox::activated), this, [this] {
        if (Click)
            Click();
    });
}

void Chooser::wheelEvent(QWheelEvent* event)
{
    if (hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore(); // the window under the chooser may scroll instead
}

void DropDownList::Clear()
{
    const QSignalBlocker quiet(this);
    clear();
}

void DropDownList::SetListIndex(int index)
{
    {
        const QSignalBlocker quiet(this);
        setCurrentIndex(index);
    }
    if (Click)
        Click();
}

void ImageCombo::AddItem(const QString& key, const QString& text)
{
    const QSignalBlocker quiet(this);
    addItem(text, key);
}

void ImageCombo::Clear()
{
    const QSignalBlocker quiet(this);
    clear();
}

QString ImageCombo::SelectedKey() const
{
    return currentIndex() < 0 ? QString() : currentData().toString();
}

bool ImageCombo::SetSelectedKey(const QString& key)
{
    const QSignalBlocker quiet(this);
    setCurrentIndex(findData(key));
    return currentIndex() >= 0;
}

TextBox::TextBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (Change)
            Change();
    });
}

void TextBox::SetText(const QString& text)
{
    textAsSet = text;
    settingText = true; // a Change raised meanwhile reads the text as set
    setPlainText(text);
    settingText = false;
    shownAsSet = document()->toRawText();
}

QString TextBox::Text() const
{
    // The document keeps no-break spaces and line separators as they are in its raw text, and
    // ends every paragraph with a paragraph separator.
    QString text = document()->toRawText();
    // Shown as it was set (not typed in, or typed in and undone): the text as set, whatever
    // line breaks it holds.
    if (settingText || text == shownAsSet)
        return textAsSet;
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return text;
}

bool TextBox::Filter(QString& text, QString& changed) const
{
    if (!FilterInput)
        return false;
    const QString given = text;
    changed = FilterInput(text);
    return text != given;
}

void TextBox::Filtered(const QString& changed)
{
    if (!changed.isEmpty() && InputFiltered)
        InputFiltered(changed);
}

void TextBox::keyPressEvent(QKeyEvent* event)
{
    // Shift+Enter would insert a line separator; every line break typed is a paragraph break.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() != Qt::NoModifier && !isReadOnly()) {
        insertPlainText(QStringLiteral("\n"));
        return;
    }
    QString text = event->text();
    QString changed;
    if (isReadOnly() || text.isEmpty() || text.at(0).unicode() < 0x20 ||
        text.at(0).unicode() == 0x7F || !Filter(text, changed))
        return QPlainTextEdit::keyPressEvent(event);
    insertPlainText(text);
    Filtered(changed);
}

void TextBox::inputMethodEvent(QInputMethodEvent* event)
{
    QString text = event->commitString();
    QString changed;
    if (!Filter(text, changed))
        return QPlainTextEdit::inputMethodEvent(event);
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(text, event->replacementStart(), event->replacementLength());
    QPlainTextEdit::inputMethodEvent(&filtered);
    Filtered(changed);
}

void TextBox::insertFromMimeData(const QMimeData* source)
{
    QString text = source->text();
    QString changed;
    if (!Filter(text, changed))
        return QPlainTextEdit::insertFromMimeData(source);
    QMimeData filtered;
    filtered.setText(text);
    QPlainTextEdit::insertFromMimeData(&filtered);
    Filtered(changed);
}

CheckBox::CheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent)
{
    connect(this, &QCheckBox::clicked, this, [this] {
        if (Click)
            Click();
    });
}

CheckBox::Value CheckBox::GetValue() const
{
    switch (checkState()) {
    case Qt::Checked:
        return Checked;
    case Qt::PartiallyChecked:
        return Grayed;
    default:
        return Unchecked;
    }
}

void CheckBox::SetValue(Value value)
{
    {
        const QSignalBlocker quiet(this);
        setTristate(value == Grayed);
        setCheckState(value == Checked  ? Qt::Checked
                      : value == Grayed ? Qt::PartiallyChecked
                                        : Qt::Unchecked);
    }
    if (Click)
        Click();
}

void CheckBox::nextCheckState()
{
    setTristate(false);
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

CommandButton::CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent)
{
    // Outside a dialog a push button ignores Enter unless it is an auto-default one.
    setAutoDefault(true);
}

ColorButton::ColorButton(QWidget* parent) : CommandButton(QString(), parent)
{
    SetSystemFace();
}

void ColorButton::SetFaceColor(qint32 color)
{
    faceColor = color;
    const QColor face = ColorFromValue(color);
    setStyleSheet(QStringLiteral("background-color: %1;").arg(face.name()));
}

void ColorButton::SetSystemFace()
{
    faceColor = -1;
    setStyleSheet(QString());
}

QColor ColorFromValue(qint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

qint32 ValueFromColor(const QColor& color)
{
    return color.red() + 256 * color.green() + 65536 * color.blue();
}

} // namespace platform
