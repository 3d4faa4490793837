#pragma once

#include <QHostAddress>
#include <QList>
#include <QStringList>

namespace DemDecData {

// Where a search query goes.
struct SearchTarget
{
    QHostAddress address;
    quint16 port = 0;

    bool operator==(const SearchTarget& other) const { return address == other.address && port == other.port; }

    // Entries are "address", "address:port" or "[v6 address]:port"; an entry without a port
    // uses defaultPort. Entries that are no IP address or have a bad port are skipped, and so
    // are repeats. Names are not looked up: a search must not wait on a name server.
    static QList<SearchTarget> parse(const QStringList& entries, quint16 defaultPort);
};

} // namespace DemDecData
