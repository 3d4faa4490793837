#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QtAlgorithms>

#include <initializer_list>

namespace CoConfig {

// Roles a computer of the complex plays.
enum class ComputerFlag : int {
    Unknown = 0,
    Workstation = 1,
    ChannelServer = 2,
    AntennaServer = 3,
    DataServer = 4,
    DirectionFinderServer = 5,
    DemDecServer = 6,
    ConfigServer = 7
};

inline size_t qHash(ComputerFlag flag, size_t seed = 0) noexcept { return ::qHash(int(flag), seed); }

// A computer's flags as bits of one byte, used as a set would be; iterated in the flags' order
// of value, the order files list them in. A workstation of a large complex holds no set of its own.
class ComputerFlags
{
public:
    class const_iterator
    {
    public:
        using value_type = ComputerFlag;
        using difference_type = std::ptrdiff_t;
        using iterator_category = std::forward_iterator_tag;
        using pointer = void;
        using reference = ComputerFlag;

        const_iterator() = default;
        ComputerFlag operator*() const { return ComputerFlag(qCountTrailingZeroBits(m_rest)); }
        const_iterator& operator++()
        {
            m_rest &= quint8(m_rest - 1);
            return *this;
        }
        const_iterator operator++(int)
        {
            const const_iterator was = *this;
            ++*this;
            return was;
        }
        friend bool operator==(const_iterator a, const_iterator b) { return a.m_rest == b.m_rest; }
        friend bool operator!=(const_iterator a, const_iterator b) { return a.m_rest != b.m_rest; }

    private:
        friend class ComputerFlags;
        explicit const_iterator(quint8 rest) : m_rest(rest) {}
        quint8 m_rest = 0;
    };
    using iterator = const_iterator;
    using value_type = ComputerFlag;

    ComputerFlags() = default;
    ComputerFlags(std::initializer_list<ComputerFlag> flags)
    {
        for (const ComputerFlag flag : flags)
            insert(flag);
    }
    template <typename It>
    ComputerFlags(It first, It last)
    {
        for (; first != last; ++first)
            insert(*first);
    }

    bool contains(ComputerFlag flag) const { return m_bits & bit(flag); }
    void insert(ComputerFlag flag) { m_bits |= bit(flag); }
    void clear() { m_bits = 0; }
    qsizetype size() const { return qPopulationCount(m_bits); }

    const_iterator begin() const { return const_iterator(m_bits); }
    const_iterator end() const { return const_iterator(); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }

    friend bool operator==(ComputerFlags a, ComputerFlags b) { return a.m_bits == b.m_bits; }
    friend bool operator!=(ComputerFlags a, ComputerFlags b) { return a.m_bits != b.m_bits; }

private:
    // A value no flag has (a cast from a stray number) is no member.
    static quint8 bit(ComputerFlag flag) { return int(flag) >= 0 && int(flag) < 8 ? quint8(1u << int(flag)) : 0; }
    quint8 m_bits = 0;
};
static_assert(int(ComputerFlag::ConfigServer) < 8, "ComputerFlags holds the flags in one byte");

namespace Computers {

extern const QList<ComputerFlag> Flags;            // selectable flags, in display order
QString name(ComputerFlag flag);                   // human name
QString toXmlName(ComputerFlag flag);              // token in files and on the clipboard
ComputerFlag fromXmlName(QStringView token);       // Unknown for a token it does not know

// A flag set as tokens: the flags in their order, then the tokens of flags this version does
// not know (kept as they were read), sorted.
QStringList toXmlNames(const ComputerFlags& flags, const QSet<QString>& unknown = {});
// Splits tokens into the flags this version knows and the tokens it does not; "unknown", the
// token of ComputerFlag::Unknown, is a known one.
void fromXmlNames(const QStringList& tokens, ComputerFlags& flags, QSet<QString>& unknown);
// The same for one token, added to what is there.
void addXmlName(QStringView token, ComputerFlags& flags, QSet<QString>& unknown);

} // namespace Computers
} // namespace CoConfig
