// An ordered collection of shared records, each stored under a text key.
// Positions are 1-based; keys compare without regard to letter case. The order is the order in
// which records are written back.
#pragma once

#include "platform/CaselessText.h"

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
        Ptr item;
    };
    using Entries = std::vector<Entry>;
    // A key of the index: compares without regard to letter case and carries its hash, so that
    // a search makes no folded copy of the key it looks for.
    struct IndexKey {
        explicit IndexKey(const QString& text) : text(text), hash(platform::CaselessHash(text)) {}
        static bool SameKey(const QString& a, const QString& b)
        {
            return QString::compare(a, b, Qt::CaseInsensitive) == 0;
        }
        friend bool operator==(const IndexKey& a, const IndexKey& b)
        {
            return a.hash == b.hash && (a.text == b.text || SameKey(a.text, b.text));
        }
        friend size_t qHash(const IndexKey& key, size_t seed = 0) noexcept
        {
            return key.hash ^ seed;
        }
        QString text;
        size_t hash;
    };
    // Collections this small (a recipe's lines) are searched directly: a hash index for each of
    // them would cost more than it saves. Larger ones keep an index.
    static constexpr size_t IndexedFrom = 9;

public:
    // Adds at the end. Fails, changing nothing, when the key is empty or already present.
    bool Add(const QString& key, Ptr item)
    {
        if (!item || key.isEmpty())
            return false;
        if (!index.isEmpty()) {
            Ptr& indexed = index[IndexKey(key)];
            if (indexed)
                return false;
            indexed = item;
        } else if (Contains(key)) {
            return false;
        }
        entries.push_back(Entry{key, std::move(item)});
        if (entries.size() == IndexedFrom)
            for (const Entry& entry : entries)
                index.insert(IndexKey(entry.key), entry.item);
        return true;
    }

    bool Contains(const QString& key) const { return Item(key) != nullptr; }

    // The record under `key`, or null.
    Ptr Item(const QString& key) const
    {
        if (!index.isEmpty())
            return index.value(IndexKey(key));
        const auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
            return IndexKey::SameKey(e.key, key);
        });
        return found == entries.end() ? nullptr : found->item;
    }

    // The record at 1-based `position`, or null when out of range.
    Ptr Item(int position) const
    {
        if (position < 1 || position > Count())
            return nullptr;
        return entries[size_t(position - 1)].item;
    }

    // The key the record at `position` was stored under.
    QString KeyAt(int position) const
    {
        return (position < 1 || position > Count()) ? QString() : entries[size_t(position - 1)].key;
    }

    // Removes and returns the record under `key`; null when absent.
    Ptr Remove(const QString& key)
    {
        Ptr item = Item(key);
        if (item) {
            entries.erase(std::find_if(entries.begin(), entries.end(), [&](const Entry& e) {
                return e.item == item && IndexKey::SameKey(e.key, key);
            }));
            index.remove(IndexKey(key));
        }
        return item;
    }

    // Removes the records under `keys`, in one pass over the collection however many there are.
    void Remove(const QStringList& keys)
    {
        QSet<const T*> items;
        QSet<IndexKey> removedKeys;
        for (const QString& key : keys) {
            if (const Ptr item = Item(key)) {
                items.insert(item.get());
                removedKeys.insert(IndexKey(key));
                index.remove(IndexKey(key));
            }
        }
        // Entries are compared by record first, which is cheap, and by key only then.
        const auto removed = [&](const Entry& e) {
            return items.contains(e.item.get()) && removedKeys.contains(IndexKey(e.key));
        };
        entries.erase(std::remove_if(entries.begin(), entries.end(), removed), entries.end());
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
    Entries entries;
    QHash<IndexKey, Ptr> index;
};
