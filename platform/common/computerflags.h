#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

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

namespace Computers {

extern const QList<ComputerFlag> Flags;            // selectable flags, in display order
QString name(ComputerFlag flag);                   // human name
QString toXmlName(ComputerFlag flag);              // token in files and on the clipboard
ComputerFlag fromXmlName(QStringView token);       // Unknown for a token it does not know

// A flag set as tokens: the flags in their order, then the tokens of flags this version does
// not know (kept as they were read), sorted.
QStringList toXmlNames(const QSet<ComputerFlag>& flags, const QSet<QString>& unknown = {});
// Splits tokens into the flags this version knows and the tokens it does not; "unknown", the
// token of ComputerFlag::Unknown, is a known one.
void fromXmlNames(const QStringList& tokens, QSet<ComputerFlag>& flags, QSet<QString>& unknown);
// The same for one token, added to what is there.
void addXmlName(QStringView token, QSet<ComputerFlag>& flags, QSet<QString>& unknown);

} // namespace Computers
} // namespace CoConfig
