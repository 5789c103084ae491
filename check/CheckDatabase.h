// Finding what is wrong with a database: what its files held that the editor could not take,
// and records that refer to what does not exist or hold values the editor does not offer.
#pragma once

#include "store/modCellarix.h"

#include <QList>
#include <QString>

#include <memory>

namespace CheckDatabase {

// The position of a record the file it belongs to does not hold yet.
constexpr int NotInFile = -1;

struct Problem {
    modCellarix::Database database;
    int record = 0; // 1-based; 0 for the file as a whole; NotInFile for a record added since
                    // the file was loaded
    QString name;   // the record's name, when known
    QString field;  // as named in the exported JSON ("glass", "line 2 ingredient"); may be empty
    QString message;
    int line = 0; // the recipe line the field belongs to, 1-based; 0 for the record's own fields
    // The record in its collection at the time of the check; none for what a load met and for
    // signs about the files as a whole.
    std::shared_ptr<void> inMemory = nullptr;
    QString lineKey = QString(); // the ThisKey of the line `line` at the time of the check
};

// Every problem of the database in memory, in the order the editor lists them: first what the
// last loads met (positions in the files), then signs that the files are of two generations,
// then the problems of the records, by file and record (positions in the files the collections
// were loaded from).
QList<Problem> Check();
// The last part of Check(): the problems of the records, by file and record.
QList<Problem> RecordProblems();

// Problems of the records in the store's collections; `record` is the position in the
// collection. Finds glasses, ingredients and parents that do not exist, parents that come after
// their children, levels, priorities, amounts and opacities outside what the editor offers, and
// texts that a save would not keep as they are (unless `texts` is false, for records whose texts
// were checked already).
QList<Problem> CheckRecords(bool texts = true);

// Problems the last loads of the four databases met: files that could not be read, records that
// could not be read or whose name was already taken, and counts that disagree with the records.
// `record` is the position in the file.
QList<Problem> CheckLoads();

// Signs that the files the glasses, the ingredients and the recipes were last loaded from are of
// two generations, as an import cut short during its replacements leaves them: recipes naming
// glasses or ingredients that their collection lacks but the backup of their file
// ("Glasses.Dat.bak") holds. Each is a problem of the recipe file as a whole. The backups are
// read without changing anything in memory.
QList<Problem> MixedGenerations();

// Turns the collection positions of `problems` into positions in the files the collections were
// last loaded from, counting the records those loads left out. A record added since has none
// (NotInFile).
void ToFilePositions(QList<Problem>& problems);

// Sorts `problems` by file, in the order the files are read, then by record, records added since
// the load last; problems of one record keep their order.
void SortByFile(QList<Problem>& problems);

// The name of the file `database` was last loaded from ("Recipes.Dat").
QString FileName(modCellarix::Database database);

// Why a text cannot be written as it is: too long for a 50-character field (when `fixedField`),
// starting or ending with a space there, or holding a character the files cannot hold. Empty when
// a save keeps the text.
QString TextNotKept(const QString& text, bool fixedField);

// `text` between double quotes, with line breaks, tabs, quotes, backslashes and other control
// characters escaped, so that it stays on one line.
QString Quoted(const QString& text);

// "line 2 ingredient: no ingredient \"Vodkaa\"": the field and what is wrong with it.
QString Finding(const Problem& problem);

// "12 \"Martini\"": the record's position and, when known, its name; empty for a problem of a file
// as a whole.
QString RecordText(const Problem& problem);

// "record 12 \"Martini\": line 2 ingredient: no ingredient \"Vodkaa\"", without the file.
QString Describe(const Problem& problem);

} // namespace CheckDatabase
