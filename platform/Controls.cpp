#include "Controls.h"

namespace platform {

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    connect(this, qOverload<int>(&QComboBox::activated), this, [this] {
        if (Click)
            Click();
    });
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

ImageCombo::ImageCombo(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    connect(this, qOverload<int>(&QComboBox::activated), this, [this] {
        if (Click)
            Click();
    });
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

QString TextBox::Text() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
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

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent)
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
