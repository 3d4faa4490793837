#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <utility>

namespace CoConfig {

// The registrations of one workstation: login -> operator uid, each login once, in login order.
// A workstation holds a few, so they are one short sorted list rather than a hash table of their
// own. Used as the hash it replaces is: value(), insert(), take(), iterators with key() and
// value() whose * is the operator uid.
class Registrations
{
    using Entry = std::pair<QString, int>; // login, operator uid
    using List = QList<Entry>;

    template <typename At, typename Value>
    class Iterator
    {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = int;
        using difference_type = qptrdiff;
        using pointer = Value*;
        using reference = Value&;

        Iterator() = default;
        explicit Iterator(At at) : m_at(at) {}
        template <typename OtherAt, typename OtherValue>
        Iterator(const Iterator<OtherAt, OtherValue>& other) : m_at(other.m_at) {}

        const QString& key() const { return m_at->first; }
        Value& value() const { return m_at->second; }
        Value& operator*() const { return value(); }
        Iterator& operator++() { ++m_at; return *this; }
        Iterator operator++(int) { Iterator was = *this; ++m_at; return was; }
        Iterator& operator--() { --m_at; return *this; }
        Iterator operator--(int) { Iterator was = *this; --m_at; return was; }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.m_at == b.m_at; }
        friend bool operator!=(const Iterator& a, const Iterator& b) { return a.m_at != b.m_at; }

    private:
        friend class Registrations;
        template <typename, typename>
        friend class Iterator;
        At m_at{};
    };

public:
    using iterator = Iterator<List::iterator, int>;
    using const_iterator = Iterator<List::const_iterator, const int>;

    Registrations() = default;
    Registrations(std::initializer_list<std::pair<QString, int>> items)
        : Registrations(fromItems(QList<std::pair<QString, int>>(items)))
    {
    }
    // Logins in any order, sorted once; of a login given twice the last stands, as insert() would
    // have it.
    static Registrations fromItems(QList<std::pair<QString, int>> items)
    {
        std::stable_sort(items.begin(), items.end(), [](const Entry& a, const Entry& b) { return a.first < b.first; });
        // Of equal logins, the last stands.
        const auto last = std::unique(items.rbegin(), items.rend(),
                                      [](const Entry& a, const Entry& b) { return a.first == b.first; });
        items.erase(items.begin(), last.base());
        Registrations result;
        result.m_items = std::move(items);
        return result;
    }
    QHash<QString, int> toHash() const
    {
        QHash<QString, int> hash;
        hash.reserve(m_items.size());
        for (const Entry& item : m_items)
            hash.insert(item.first, item.second);
        return hash;
    }

    qsizetype size() const { return m_items.size(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    void clear() { m_items.clear(); }
    void reserve(qsizetype size) { m_items.reserve(size); }

    const_iterator constFind(const QString& login) const
    {
        const auto at = lowerBound(m_items.cbegin(), m_items.cend(), login);
        return const_iterator(at != m_items.cend() && at->first == login ? at : m_items.cend());
    }
    const_iterator find(const QString& login) const { return constFind(login); }
    iterator find(const QString& login)
    {
        const auto at = lowerBound(m_items.begin(), m_items.end(), login);
        return iterator(at != m_items.end() && at->first == login ? at : m_items.end());
    }
    bool contains(const QString& login) const { return constFind(login) != cend(); }
    int value(const QString& login, int otherwise = 0) const
    {
        const const_iterator at = constFind(login);
        return at != cend() ? *at : otherwise;
    }

    // Replaces the uid of a login already there. A login past the last goes in at the end; one
    // elsewhere moves those after it (fromItems() takes many in any order).
    iterator insert(const QString& login, int operatorUid)
    {
        if (m_items.isEmpty() || m_items.constLast().first < login) {
            m_items.append({login, operatorUid});
            return iterator(std::prev(m_items.end()));
        }
        auto at = lowerBound(m_items.begin(), m_items.end(), login);
        if (at != m_items.end() && at->first == login) {
            at->second = operatorUid;
            return iterator(at);
        }
        const qsizetype index = at - m_items.begin();
        m_items.insert(index, {login, operatorUid});
        return iterator(m_items.begin() + index);
    }
    int& operator[](const QString& login)
    {
        iterator at = find(login);
        return (at != end() ? at : insert(login, 0)).value();
    }
    bool remove(const QString& login)
    {
        const iterator at = find(login);
        if (at == end())
            return false;
        erase(at);
        return true;
    }
    int take(const QString& login)
    {
        const iterator at = find(login);
        if (at == end())
            return 0;
        const int operatorUid = *at;
        erase(at);
        return operatorUid;
    }
    iterator erase(const_iterator at)
    {
        const qsizetype index = at.m_at - m_items.cbegin();
        return iterator(m_items.erase(m_items.cbegin() + index));
    }

    QStringList keys() const
    {
        QStringList logins;
        logins.reserve(m_items.size());
        for (const Entry& item : m_items)
            logins.append(item.first);
        return logins;
    }
    QList<int> values() const
    {
        QList<int> uids;
        uids.reserve(m_items.size());
        for (const Entry& item : m_items)
            uids.append(item.second);
        return uids;
    }

    iterator begin() { return iterator(m_items.begin()); }
    iterator end() { return iterator(m_items.end()); }
    const_iterator begin() const { return const_iterator(m_items.cbegin()); }
    const_iterator end() const { return const_iterator(m_items.cend()); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    const_iterator constBegin() const { return begin(); }
    const_iterator constEnd() const { return end(); }

    friend bool operator==(const Registrations& a, const Registrations& b) { return a.m_items == b.m_items; }
    friend bool operator!=(const Registrations& a, const Registrations& b) { return !(a == b); }

private:
    template <typename At>
    static At lowerBound(At first, At last, const QString& login)
    {
        return std::lower_bound(first, last, login, [](const Entry& item, const QString& key) { return item.first < key; });
    }

    List m_items;
};

} // namespace CoConfig
