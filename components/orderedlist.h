// SPDX-License-Identifier: MIT
#pragma once

#include <QList>

#include <memory>

/// An ordered, keyless, 1-based list that owns its entries: the shape shared by the file listing,
/// the colour table and the style sheet's lines. Positions outside 1..Count() never raise:
/// Item() gives nullptr and Remove() false. Not thread-safe; one owner at a time.
template <typename Entry>
class OrderedList
{
public:
    using value_type = Entry;

    void Clear()
    {
        while (!m_entries.isEmpty())
            m_entries.removeLast();
    }

    /// Position 0 appends; p >= 1 inserts immediately before entry p (before) or after it.
    /// A position beyond the end appends.
    Entry* Add(Entry entry, int position = 0, bool before = false)
    {
        auto owned = std::make_shared<Entry>(std::move(entry));
        qsizetype at = m_entries.size();
        if (position >= 1 && position <= m_entries.size())
            at = before ? position - 1 : position;
        m_entries.insert(at, owned);
        return owned.get();
    }

    bool Remove(int position)
    {
        if (position < 1 || position > m_entries.size())
            return false;
        m_entries.removeAt(position - 1);
        return true;
    }

    int Count() const { return int(m_entries.size()); }

    Entry* Item(int position) const
    {
        if (position < 1 || position > m_entries.size())
            return nullptr;
        return m_entries.at(position - 1).get();
    }

    // Enumeration in position order.
    class const_iterator
    {
    public:
        explicit const_iterator(typename QList<std::shared_ptr<Entry>>::const_iterator it) : m_it(it) {}
        const Entry& operator*() const { return **m_it; }
        const Entry* operator->() const { return m_it->get(); }
        const_iterator& operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return m_it == other.m_it; }
        bool operator!=(const const_iterator& other) const { return m_it != other.m_it; }

    private:
        typename QList<std::shared_ptr<Entry>>::const_iterator m_it;
    };
    const_iterator begin() const { return const_iterator(m_entries.cbegin()); }
    const_iterator end() const { return const_iterator(m_entries.cend()); }

private:
    QList<std::shared_ptr<Entry>> m_entries;
};
