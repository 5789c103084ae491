// An ordered collection of shared records, each stored under a text key.
// Positions are 1-based; keys compare without regard to letter case. Look-ups by key and by
// position take constant time (small collections are searched directly); the order is the order in
// which records are written back.
#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <memory>
#include <vector>

namespace CaselessKeys {

inline char16_t AsciiFolded(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

// True when the two keys are equal after case folding. Folding keeps the length of a text, and
// an ASCII character folds to an ASCII one, so only keys that differ in other characters need
// the full comparison.
inline bool Equal(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t ca = pa[i].unicode();
        const char16_t cb = pb[i].unicode();
        if (ca == cb)
            continue;
        if (ca >= 0x80 || cb >= 0x80)
            return QString::compare(a, b, Qt::CaseInsensitive) == 0;
        if (AsciiFolded(ca) != AsciiFolded(cb))
            return false;
    }
    return true;
}

// FNV-1a over the UTF-16 units of the case-folded key. Outside surrogate pairs a character
// folds on its own, which saves building the folded text; `folded` tells that `key` is folded.
inline size_t Hash(const QString& key, size_t seed, bool folded = false)
{
    quint64 hash = 14695981039346656037ULL ^ seed;
    for (const QChar c : key) {
        char16_t unit = c.unicode();
        if (!folded) {
            if (unit < 0x80)
                unit = AsciiFolded(unit);
            else if (c.isSurrogate())
                return Hash(key.toCaseFolded(), seed, true);
            else
                unit = c.toCaseFolded().unicode();
        }
        hash = (hash ^ unit) * 1099511628211ULL;
    }
    // Hash tables pick buckets by the low bits, which FNV mixes least.
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    return size_t(hash ^ (hash >> 33));
}

// A key that compares and hashes without regard to letter case.
struct Key {
    QString text;
};
inline bool operator==(const Key& a, const Key& b)
{
    return Equal(a.text, b.text);
}
inline size_t qHash(const Key& key, size_t seed = 0)
{
    return Hash(key.text, seed);
}

} // namespace CaselessKeys

template <typename T> class KeyedCollection {
public:
    using Ptr = std::shared_ptr<T>;

private:
    struct Entry {
        QString key;
        Ptr item;
    };
    using Entries = std::vector<Entry>;
    using IndexKey = CaselessKeys::Key;
    // Collections this small (a recipe's lines) are searched directly; larger ones keep a
    // hash index from key to record.
    static constexpr size_t IndexedFrom = 9;

public:
    // Adds at the end. Fails, changing nothing, when the key is empty or already present.
    bool Add(const QString& key, Ptr item)
    {
        if (!item || key.isEmpty())
            return false;
        if (!index.isEmpty()) {
            Ptr& indexed = index[IndexKey{key}];
            if (indexed)
                return false;
            indexed = item;
        } else if (FindEntry(key) != entries.end()) {
            return false;
        }
        entries.push_back(Entry{key, std::move(item)});
        if (index.isEmpty() && entries.size() >= IndexedFrom)
            for (const Entry& entry : entries)
                index.insert(IndexKey{entry.key}, entry.item);
        return true;
    }

    bool Contains(const QString& key) const
    {
        return index.isEmpty() ? FindEntry(key) != entries.end() : index.contains(IndexKey{key});
    }

    // The record under `key`, or null.
    Ptr Item(const QString& key) const
    {
        if (!index.isEmpty())
            return index.value(IndexKey{key});
        const auto found = FindEntry(key);
        return found == entries.end() ? nullptr : found->item;
    }

    // The record at 1-based `position`, or null when out of range.
    Ptr Item(int position) const
    {
        if (position < 1 || position > Count())
            return nullptr;
        return entries[position - 1].item;
    }

    // The key the record at `position` was stored under.
    QString KeyAt(int position) const
    {
        return (position < 1 || position > Count()) ? QString() : entries[position - 1].key;
    }

    // Removes and returns the record under `key`; null when absent.
    Ptr Remove(const QString& key)
    {
        const auto found = FindEntry(key);
        return found == entries.end() ? nullptr
                                      : Erase(entries.begin() + (found - entries.begin()));
    }

    // Removes the records under `keys`, in one pass over the collection however many there are.
    void Remove(const QStringList& keys)
    {
        QSet<IndexKey> removedKeys;
        QSet<const T*> items;
        for (const QString& key : keys) {
            removedKeys.insert(IndexKey{key});
            if (const Ptr item = Item(key))
                items.insert(item.get());
        }
        if (items.isEmpty())
            return;
        // Entries are compared by record first, which is cheap, and by key only then.
        const auto removed = [&](const Entry& e) {
            if (!items.contains(e.item.get()) || !removedKeys.contains(IndexKey{e.key}))
                return false;
            index.remove(IndexKey{e.key});
            return true;
        };
        entries.erase(std::remove_if(entries.begin(), entries.end(), removed), entries.end());
    }

    // Removes and returns the record at 1-based `position`; null when out of range.
    Ptr Remove(int position)
    {
        if (position < 1 || position > Count())
            return nullptr;
        return Erase(entries.begin() + (position - 1));
    }

    int Count() const { return int(entries.size()); }
    // Makes room for `count` records.
    void Reserve(int count)
    {
        entries.reserve(size_t(count));
        if (size_t(count) >= IndexedFrom)
            index.reserve(count);
    }

    void Clear()
    {
        entries.clear();
        index.clear();
    }

    // Iteration in collection order yields the records.
    class const_iterator {
    public:
        explicit const_iterator(typename Entries::const_iterator i) : it(i) {}
        const Ptr& operator*() const { return it->item; }
        const_iterator& operator++()
        {
            ++it;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return it != other.it; }

    private:
        typename Entries::const_iterator it;
    };
    const_iterator begin() const { return const_iterator(entries.begin()); }
    const_iterator end() const { return const_iterator(entries.end()); }

private:
    // The entry under `key`, searched entry by entry.
    typename Entries::const_iterator FindEntry(const QString& key) const
    {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const Entry& e) { return CaselessKeys::Equal(e.key, key); });
    }

    Ptr Erase(typename Entries::iterator at)
    {
        Ptr item = std::move(at->item);
        index.remove(IndexKey{at->key});
        entries.erase(at);
        return item;
    }

    Entries entries;
    QHash<IndexKey, Ptr> index;
};
