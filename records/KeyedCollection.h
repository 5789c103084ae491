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

template <typename T> class KeyedCollection {
public:
    using Ptr = std::shared_ptr<T>;

private:
    struct Entry {
        QString key;
        QString folded; // the key as compared, once the collection is indexed
        Ptr item;
    };
    using Entries = std::vector<Entry>;
    // Collections this small (a recipe's lines) are searched directly; larger ones keep a
    // hash index from key to record.
    static constexpr size_t IndexedFrom = 9;

public:
    // Adds at the end. Fails, changing nothing, when the key is empty or already present.
    bool Add(const QString& key, Ptr item)
    {
        if (!item || key.isEmpty() || Contains(key))
            return false;
        entries.push_back(Entry{key, QString(), std::move(item)});
        if (!index.isEmpty()) {
            Entry& added = entries.back();
            added.folded = Fold(key);
            index.insert(added.folded, added.item);
        } else if (entries.size() >= IndexedFrom) {
            for (Entry& entry : entries) {
                entry.folded = Fold(entry.key);
                index.insert(entry.folded, entry.item);
            }
        }
        return true;
    }

    bool Contains(const QString& key) const
    {
        return index.isEmpty() ? FindEntry(key) != entries.end() : index.contains(Fold(key));
    }

    // The record under `key`, or null.
    Ptr Item(const QString& key) const
    {
        if (!index.isEmpty())
            return index.value(Fold(key));
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
        const auto found = FindEntry(Fold(key));
        return found == entries.end() ? nullptr
                                      : Erase(entries.begin() + (found - entries.begin()));
    }

    // Removes the records under `keys`, in one pass over the collection however many there are.
    void Remove(const QStringList& keys)
    {
        QSet<QString> folded;
        QSet<const T*> items;
        for (const QString& key : keys) {
            folded.insert(Fold(key));
            if (const Ptr item = Item(key))
                items.insert(item.get());
        }
        if (items.isEmpty())
            return;
        // Entries are compared by record first, which is cheap, and by key only then.
        const auto removed = [&](const Entry& e) {
            if (!items.contains(e.item.get()) ||
                !folded.contains(index.isEmpty() ? Fold(e.key) : e.folded))
                return false;
            index.remove(e.folded);
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
    void Reserve(int count) { entries.reserve(size_t(count)); }

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
    // The entry under `key`, searched entry by entry: by the folded keys once the collection is
    // indexed, else comparing without regard to letter case.
    typename Entries::const_iterator FindEntry(const QString& key) const
    {
        if (!index.isEmpty()) {
            const QString folded = Fold(key);
            return std::find_if(entries.begin(), entries.end(),
                                [&](const Entry& e) { return e.folded == folded; });
        }
        return std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
            return QString::compare(e.key, key, Qt::CaseInsensitive) == 0;
        });
    }

    Ptr Erase(typename Entries::iterator at)
    {
        Ptr item = std::move(at->item);
        index.remove(at->folded);
        entries.erase(at);
        return item;
    }

    // The case-folded key. Outside surrogate pairs, folding a text is folding each of its
    // characters on its own; doing that here avoids QString::toCaseFolded's slow path for
    // every key that changes (which is nearly every key), and shares a key that does not.
    static QString Fold(const QString& key)
    {
        const QChar* src = key.constData();
        const qsizetype size = key.size();
        qsizetype i = 0;
        for (; i < size; ++i) {
            if (src[i].isSurrogate())
                return key.toCaseFolded();
            if (src[i].toCaseFolded() != src[i])
                break;
        }
        if (i == size)
            return key;
        QString folded(size, Qt::Uninitialized);
        QChar* dst = folded.data();
        std::copy(src, src + i, dst);
        for (; i < size; ++i) {
            if (src[i].isSurrogate())
                return key.toCaseFolded();
            dst[i] = src[i].toCaseFolded();
        }
        return folded;
    }

    Entries entries;
    QHash<QString, Ptr> index;
};
