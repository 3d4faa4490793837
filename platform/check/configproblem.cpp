#include "configproblem.h"

namespace ConfigCheck {

QString ConfigProblem::typeKey(Type type)
{
    switch (type) {
    case MissingRecord:
        return QStringLiteral("missing-record");
    case UnknownObjectType:
        return QStringLiteral("unknown-object-type");
    case NotAnIpAddress:
        return QStringLiteral("not-an-ip-address");
    case DuplicateIpAddress:
        return QStringLiteral("duplicate-ip-address");
    case DuplicateServerIndex:
        return QStringLiteral("duplicate-server-index");
    case AntennaInTwoUnions:
        return QStringLiteral("antenna-in-two-unions");
    case AntennaOutsidePool:
        return QStringLiteral("antenna-outside-pool");
    case EmptyName:
        return QStringLiteral("empty-name");
    }
    return QString();
}

QString ConfigProblem::text() const
{
    QString line = recordKindTitle(kind) + QLatin1Char(' ') + QString::number(uid);
    if (!name.isEmpty())
        line += QStringLiteral(" «%1»").arg(name);
    return line + QStringLiteral(", %1: %2").arg(fieldTitle, message);
}

QJsonObject ConfigProblem::toJson() const
{
    QJsonObject object{{QStringLiteral("problem"), typeKey(type)},
                       {QStringLiteral("kind"), recordKindKey(kind)},
                       {QStringLiteral("kindTitle"), recordKindTitle(kind)},
                       {QStringLiteral("uid"), uid},
                       {QStringLiteral("name"), name},
                       {QStringLiteral("field"), field},
                       {QStringLiteral("fieldTitle"), fieldTitle},
                       {QStringLiteral("message"), message},
                       {QStringLiteral("text"), text()}};
    if (hasTarget)
        object.insert(QStringLiteral("target"),
                      QJsonObject{{QStringLiteral("kind"), recordKindKey(targetKind)}, {QStringLiteral("uid"), targetUid}});
    return object;
}

} // namespace ConfigCheck
