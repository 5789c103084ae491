// The four databases as one JSON document: stable, readable and diffable. Keys come in a fixed
// order, one record per object; amounts are written as their codes with their text beside them.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QStringList>

namespace DatabaseJson {

// Writes the store's four collections to `file` as a JSON document in UTF-8, a piece at a time;
// false when a write failed.
bool Export(QIODevice& file);
// The same document in memory.
QByteArray Export();

// Replaces the store's four collections with the database in `json`. Refuses input that cannot
// be written to the files as it stands: each problem names the record and field; the collections
// are then left as they were. Returns the problems; empty on success.
QStringList Import(const QByteArray& json);

} // namespace DatabaseJson
