// A libFuzzer target for one database loader (chosen by FUZZED_DATABASE). Every input is read
// as a database file; what was loaded is then written back and read again, and must come back
// as the same records. Recipe lines are written the same whether or not their objects were made.
#include "store/modCellarix.h"

#include <QBuffer>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace modCellarix;

namespace {

constexpr Database Fuzzed = Database::FUZZED_DATABASE;

template <typename Record> QStringList SortedKeys(const KeyedCollection<Record>& collection)
{
    QStringList keys;
    for (int i = 1; i <= collection.Count(); ++i)
        keys << collection.KeyAt(i);
    keys.sort();
    return keys;
}

QStringList LoadedKeys()
{
    switch (Fuzzed) {
    case Database::Glasses:
        return SortedKeys(colGlasses);
    case Database::Ingredients:
        return SortedKeys(colIngredients);
    case Database::HelpTopics:
        return SortedKeys(colHelpTopics);
    case Database::Recipes:
        return SortedKeys(colRecipes);
    }
    return {};
}

void Read(QByteArray bytes)
{
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    ReadDatabase(Fuzzed, file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Read(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    if (Fuzzed == Database::HelpTopics)
        return 0; // never written
    const QStringList loaded = LoadedKeys();
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    StoreMessages messages;
    if (!WriteDatabase(Fuzzed, written, messages))
        std::abort(); // whatever was loaded must be writable
    Read(written.data());
    if (LoadedKeys() != loaded)
        std::abort(); // written records must read back as themselves
    return 0;
}
