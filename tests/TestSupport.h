// Shared helpers of the tests: fixture bytes written by hand, a program folder of its own for
// every test, a limit on file sizes, starting the real main window, and driving its
// windows as the user does.
#pragma once

#include "platform/ListView.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/TreeView.h"
#include "records/KeyedCollection.h"
#include "records/Recipe.h"

#include <QTemporaryDir>

#include <optional>

class QAbstractItemView;
class QComboBox;

namespace TestSupport {

// A little-endian 32-bit field.
QByteArray Int32(qint32 value);
// A 50-byte text field: `text` followed by spaces.
QByteArray Field(const QByteArray& text);
// `count` bytes of value `byte`.
QByteArray Bytes(int count, char byte);
// One byte.
QByteArray Byte(int value);

// Records of the database files, byte by byte.
// A glass: name, the seven asset fields (each `assets`), hot spot, display text.
QByteArray GlassRecord(const QByteArray& name, const QByteArray& text = {}, int hotSpot = 0,
                       const QByteArray& assets = {});
// Given in part ({false}, {true, false, 0, 40}) the rest keep their defaults.
struct IngredientAttributes {
    bool ounces = true;
    bool action = false;
    qint32 color = 0;
    int opacity = 0;
    int hotSpot = 0;
    QByteArray text = {};
};
// An ingredient whose six asset fields were never assigned (zero bytes).
QByteArray IngredientRecord(const QByteArray& name, const QByteArray& parent,
                            const IngredientAttributes& attributes = {});
// An ingredient line of a recipe.
QByteArray Line(const QByteArray& name, int amount, int priority);
QByteArray RecipeRecord(const QByteArray& name, const QByteArray& glass,
                        const QByteArray& instructions, const QList<QByteArray>& lines,
                        int level = 0, int category = 0);
QByteArray HelpRecord(const QByteArray& name, const QByteArray& data);
// A whole database file: the count, then the records.
QByteArray DatabaseFile(const QList<QByteArray>& records);

// A fresh, empty program folder that ProgramFolder() points at while this object lives.
class ProgramFolder {
public:
    ProgramFolder() { platform::SetProgramFolder(dir.path()); }
    ~ProgramFolder()
    {
        if (platform::ProgramFolder() == dir.path()) // a folder made after this one stays
            platform::SetProgramFolder(QString());
    }
    QString Path() const { return dir.path(); }
    QString DataPath() const { return dir.path() + QStringLiteral("/Data/"); }
    // Writes `bytes` as Data/<name>, creating the Data folder.
    void WriteDataFile(const QString& name, const QByteArray& bytes) const;
    QByteArray ReadDataFile(const QString& name) const;

private:
    QTemporaryDir dir;
};

// Writes the four database files with one problem of each kind into `folder`: a glass name
// twice but for letter case, an ingredient after its child, an unknown parent, opacity 150, a
// recipe with an unknown glass, level 25, an unknown ingredient and priority 12, and a fifth
// recipe that cannot be read. `more` adds an ingredient that is its own parent, a sixth recipe
// with an unknown glass, and a help file whose count says 3 where 2 topics follow.
void WriteDatabaseWithProblems(const ProgramFolder& folder, bool more = false);

// While it lives, no file this process or a process it starts writes can grow beyond `bytes`:
// a write beyond fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    qint64 previous;
};

// Scripts the message boxes and the colour, open-file and folder dialogs, so that none is ever
// shown for real: one a test did not expect takes its safe answer (and is recorded). A modal
// window a test does not drive itself is closed as the user's Cancel would close it.
void ScriptDialogs();
// Scripts the dialogs and starts a fresh main window on the current program folder, running the
// whole start-up.
void StartMainWindow();
// Closes and destroys the main window (which runs the shut-down), keeping message boxes
// scripted.
void CloseMainWindow();
// A program folder the main window runs on: destroying it closes the main window first, so the
// shut-down saves into it (destroy one before making the next).
class MainWindowFolder : public ProgramFolder {
public:
    ~MainWindowFolder() { CloseMainWindow(); }
};

// Driving the windows as the user does.

// Makes the main window the active one, so that the focus moves as on the screen. False when
// it never became active.
bool ActivateMainWindow();
// A mouse click on `item`, its parents opened and the view scrolled to it first.
void ClickRow(platform::TreeView* tree, platform::TreeNode* node);
void ClickRow(platform::ListView* list, int row);
void ClickRow(platform::ListView* list, platform::ListItem* item);
// A mouse click on the header of `column` (1 for the first) of `list`.
void ClickHeader(platform::ListView* list, int column);
// One notch of the mouse wheel over `control`, turned towards the user.
void TurnWheel(QWidget* control);
// Tries every way a user could take the selection from the selected item of `view`: a click
// below the items, a click on it with Ctrl held, Ctrl+Space. False when `view` has no room
// below its items.
bool TryToDeselect(QAbstractItemView* view);
// The entry `text` picked from the drop-down of `box`.
void Choose(QComboBox* box, const QString& text);
// Presses `key` in `control`; the question it asks is answered `answer` (No when none is
// given), and MessageBox::Shown() holds only what the key brought up.
void Press(QWidget* control, Qt::Key key, std::optional<platform::MsgAnswer> answer = std::nullopt);
// The whole text of `box` replaced by `text`, typed.
void Retype(QWidget* box, const QString& text);
// F2 in `view`, `text` typed over the selected old name and the edit ended with `finish`,
// messages reset as by Press. False when no edit box opened.
bool EditLabel(QAbstractItemView* view, const QString& text, Qt::Key finish = Qt::Key_Return);
// Exactly one message was shown: the Yes/No question `text` under `title`, or the refusal
// `text` (information with OK) under `title`.
bool Asked(const QString& text, const QString& title);
bool Refused(const QString& text, const QString& title = QStringLiteral("INPUT ERROR"));
// The texts in `column` of a list's rows, top to bottom; the texts of a node's children.
QStringList RowTexts(const platform::ListView* list, int column = 0);
QStringList ChildTexts(const platform::TreeNode* node);

// The keys of a collection, in its order; the ingredient names of a recipe's lines, in theirs.
template <typename T> QStringList Keys(const KeyedCollection<T>& collection)
{
    QStringList keys;
    for (int i = 1; i <= collection.Count(); ++i)
        keys << collection.KeyAt(i);
    return keys;
}
QStringList LineNames(const Recipe& recipe);

} // namespace TestSupport
