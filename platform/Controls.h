// The standard controls of the editor windows, with the handlers the windows rely on.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>

namespace platform {

// What the two choosers share: the user only chooses (no typing), and choosing an entry raises
// Click. The mouse wheel chooses only while the chooser has the focus, so turning the wheel over
// a window on the way to somewhere else changes nothing.
class Chooser : public QComboBox {
public:
    explicit Chooser(QWidget* parent);
    std::function<void()> Click;

protected:
    void wheelEvent(QWheelEvent* event) override;
};

// A drop-down list. Setting the selected index by program raises Click too.
class DropDownList : public Chooser {
public:
    explicit DropDownList(QWidget* parent) : Chooser(parent) {}
    void AddItem(const QString& text) { addItem(text); }
    void Clear();
    int ListIndex() const { return currentIndex(); }
    void SetListIndex(int index); // -1 for no selection
};

// A chooser of keyed items. Setting the selection by program does not raise Click.
class ImageCombo : public Chooser {
public:
    explicit ImageCombo(QWidget* parent) : Chooser(parent) {}
    void AddItem(const QString& key, const QString& text);
    void Clear();
    // Key of the selected item, empty for none.
    QString SelectedKey() const;
    // Selects the item of `key`; false (and no selection) when there is none.
    bool SetSelectedKey(const QString& key);
    // Clears the selection, so the box shows no text.
    void ClearSelection() { setCurrentIndex(-1); }
};

// A multi-line text box with a vertical scroll bar. Enter inserts a line break; Tab moves on.
// Setting the text by program raises Change, as typing does. The box gives back exactly the text
// it was set to while it shows it (also after an edit that was undone); a text the user changed
// has its line breaks read as the database files hold them ("\r\n"), and every other
// character as it stands.
class TextBox : public QPlainTextEdit {
public:
    explicit TextBox(QWidget* parent);
    QString Text() const;
    void SetText(const QString& text);
    std::function<void()> Change;
    // Text the user types or pastes passes through FilterInput before it is inserted: the
    // handler may change it and returns what it had to change, which InputFiltered then gets
    // once the text is in the box. Either may be empty.
    std::function<QString(QString& text)> FilterInput;
    std::function<void(const QString& changed)> InputFiltered;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Runs FilterInput on `text`: true when it changed the text; `changed` is its note.
    bool Filter(QString& text, QString& changed) const;
    void Filtered(const QString& changed);

    QString textAsSet;
    QString shownAsSet; // the document's raw text right after SetText
    bool settingText = false;
};

// A check box with a grey (undetermined) state. Clicking toggles between checked and
// unchecked; setting the value by program raises Click, as clicking does.
class CheckBox : public QCheckBox {
public:
    enum Value { Unchecked = 0, Checked = 1, Grayed = 2 };
    CheckBox(const QString& caption, QWidget* parent);
    Value GetValue() const;
    void SetValue(Value value);
    std::function<void()> Click;

protected:
    void nextCheckState() override;
};

// A command button: a click, Space or, while it has the focus, Enter presses it.
class CommandButton : public QPushButton {
public:
    explicit CommandButton(const QString& caption, QWidget* parent);
};

// A button whose face shows a colour (red + 256 × green + 65536 × blue).
class ColorButton : public CommandButton {
public:
    explicit ColorButton(QWidget* parent);
    void SetFaceColor(qint32 color);
    void SetSystemFace(); // the system's button-face colour
    // The colour shown, or -1 for the system's button face.
    qint32 FaceColor() const { return faceColor; }

private:
    qint32 faceColor = -1;
};

// Colour values of the form red + 256 × green + 65536 × blue.
QColor ColorFromValue(qint32 value);
qint32 ValueFromColor(const QColor& color);

} // namespace platform
