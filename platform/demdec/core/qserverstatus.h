#pragma once

#include <QMetaType>
#include <QString>

namespace DemDecData {

// A server that answered a search: where to connect and what it calls itself.
class QServerStatus
{
public:
    QServerStatus() = default;
    QServerStatus(const QString& address, quint16 port, const QString& name = QString());

    QString address() const { return m_address; }
    quint16 port() const { return m_port; }
    QString name() const { return m_name; }

    bool operator==(const QServerStatus& other) const;

private:
    QString m_address;
    quint16 m_port = 0;
    QString m_name;
};

} // namespace DemDecData

Q_DECLARE_METATYPE(DemDecData::QServerStatus)
