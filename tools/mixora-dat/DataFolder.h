// The four database files of a data folder, read and written through the editor's own data
// store, so that the companion tool sees and writes exactly what the editor does.
#pragma once

#include "store/modCellarix.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace DataFolder {

struct DatabaseFile {
    modCellarix::Database database;
    QString fileName;
};

// The database files in the order the editor reads them.
const QList<DatabaseFile>& Files();

// The file name of `database` ("Glasses.Dat" ...).
QString FileName(modCellarix::Database database);

// Reads the four files of `folder` into the store's collections without creating or changing
// anything; modCellarix::LastLoad tells what each load took.
void LoadAll(const QString& folder);

// Writes the four collections as the files of `folder`, creating the folder if need be. Nothing
// is written when a file is known not to be replaceable (platform::WhyNotReplaceable). All four
// new files are written completely, and each file to be replaced is kept as it was as
// "<name>.bak", before any replaces its old file, so a failure until then changes no database. An
// existing Help.Dat whose contents differ is the game's and is replaced only with `replaceHelp`.
// Nothing is written while an editor has the folder; the folder is locked while the files are
// written. Returns an explanation when something could not be written, saying which files were
// replaced already if any; empty on success.
QString WriteAll(const QString& folder, bool replaceHelp);

} // namespace DataFolder
