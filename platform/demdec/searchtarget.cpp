#include "searchtarget.h"

namespace DemDecData {

namespace {

bool parsePort(QStringView text, quint16* port)
{
    bool ok = false;
    const uint value = text.toUInt(&ok);
    *port = quint16(value);
    return ok && value > 0 && value <= 65535;
}

bool parseEntry(const QString& entry, quint16 defaultPort, SearchTarget* target)
{
    const QString text = entry.trimmed();
    QString host = text;
    target->port = defaultPort;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close < 0)
            return false;
        host = text.mid(1, close - 1);
        const QStringView rest = QStringView(text).mid(close + 1);
        if (!rest.isEmpty() && (!rest.startsWith(QLatin1Char(':')) || !parsePort(rest.mid(1), &target->port)))
            return false;
    } else if (text.count(QLatin1Char(':')) == 1) {
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        host = text.left(colon);
        if (!parsePort(QStringView(text).mid(colon + 1), &target->port))
            return false;
    }
    target->address = QHostAddress(host);
    return !target->address.isNull() && target->port != 0;
}

} // namespace

QList<SearchTarget> SearchTarget::parse(const QStringList& entries, quint16 defaultPort)
{
    QList<SearchTarget> targets;
    for (const QString& entry : entries) {
        SearchTarget target;
        if (parseEntry(entry, defaultPort, &target) && !targets.contains(target))
            targets.append(target);
    }
    return targets;
}

} // namespace DemDecData
