// One database file as readable text, record by record, as the editor reads it.
#pragma once

#include "store/modCellarix.h"

#include <QByteArray>
#include <QString>

namespace DumpFile {

// The kind of database a file name stands for ("Glasses.Dat" ...), letter case ignored. False
// when the name is not one of the four.
bool DatabaseOfName(const QString& fileName, modCellarix::Database& database);

// Reads `path` as a file of `database` and describes it: its count and size, then every record
// in file order with its position, where it starts and its fields, and what could not be read.
// False when the file could not be read at all; `out` then says why.
bool Dump(modCellarix::Database database, const QString& path, QByteArray& out);

} // namespace DumpFile
