// Shared helpers of the tests: fixture bytes written by hand, a program folder of its own for
// every test, a save file that fails on purpose, and starting the real main window.
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QTemporaryDir>

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
struct IngredientAttributes {
    bool ounces = true;
    bool action = false;
    qint32 color = 0;
    int opacity = 0;
    int hotSpot = 0;
    QByteArray text;
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
    ProgramFolder();
    ~ProgramFolder();
    QString Path() const;
    QString DataPath() const; // Path() + "/Data/"
    // Writes `bytes` as Data/<name>, creating the Data folder.
    void WriteDataFile(const QString& name, const QByteArray& bytes) const;
    QByteArray ReadDataFile(const QString& name) const;

private:
    QTemporaryDir dir;
};

// A save file whose writes fail once `limit` bytes have been written.
class FailingSaveFile : public QSaveFile {
public:
    FailingSaveFile(const QString& path, qint64 limit);

protected:
    qint64 writeData(const char* data, qint64 size) override;

private:
    qint64 remaining;
};

// Makes every save file of the data store fail after `limit` bytes, until ~SaveFailure.
class SaveFailure {
public:
    explicit SaveFailure(qint64 limit);
    ~SaveFailure();
};

// Scripts the message boxes and starts a fresh main window on the current program folder,
// running the whole start-up.
void StartMainWindow();
// Closes and destroys the main window (which runs the shut-down), keeping message boxes
// scripted.
void CloseMainWindow();

} // namespace TestSupport
