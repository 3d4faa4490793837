#include "historyoutput.h"

#include "changewords.h"

#include <QJsonArray>

namespace {

QString typeKey(History::RecordChange::Type type)
{
    switch (type) {
    case History::RecordChange::Added: return QStringLiteral("added");
    case History::RecordChange::Removed: return QStringLiteral("removed");
    case History::RecordChange::Changed: break;
    }
    return QStringLiteral("changed");
}

QJsonValue nullable(const QString& value)
{
    return value.isNull() ? QJsonValue() : QJsonValue(value);
}

} // namespace

QString entryLine(const History::HistoryEntry& entry)
{
    QString author = entry.login + QLatin1Char('@') + entry.host;
    if (!entry.workstation.isEmpty())
        author += QStringLiteral(" АРМ ") + entry.workstation;
    return QStringLiteral("%1  %2  %3 %4  %5")
        .arg(entry.shortId(), entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), author, entry.program,
             entry.summary);
}

QJsonObject entryJson(const History::HistoryEntry& entry)
{
    return {{QStringLiteral("id"), entry.id},
            {QStringLiteral("time"), entry.time.toString(Qt::ISODate)},
            {QStringLiteral("login"), entry.login},
            {QStringLiteral("host"), entry.host},
            {QStringLiteral("workstation"), entry.workstation},
            {QStringLiteral("program"), entry.program},
            {QStringLiteral("change"), History::changeKindKey(entry.kind)},
            {QStringLiteral("restores"), entry.restores},
            {QStringLiteral("summary"), entry.summary}};
}

QJsonObject fileChangesJson(const History::FileChanges& file)
{
    QJsonArray records;
    for (const History::RecordChange& record : file.records) {
        QJsonArray fields;
        for (const History::FieldChange& field : record.fields) {
            fields.append(QJsonObject{{QStringLiteral("member"), field.member},
                                      {QStringLiteral("title"), History::fieldTitle(record.element, field.member)},
                                      {QStringLiteral("old"), nullable(field.oldValue)},
                                      {QStringLiteral("new"), nullable(field.newValue)}});
        }
        records.append(QJsonObject{{QStringLiteral("type"), typeKey(record.type)},
                                   {QStringLiteral("element"), record.element},
                                   {QStringLiteral("uid"), record.uid},
                                   {QStringLiteral("name"), record.name},
                                   {QStringLiteral("title"), History::recordTitle(file.path, record)},
                                   {QStringLiteral("text"), History::changeLine(file.path, record)},
                                   {QStringLiteral("fields"), fields}});
    }
    QJsonObject object{{QStringLiteral("path"), file.path}, {QStringLiteral("records"), records}};
    if (!file.error.isEmpty())
        object.insert(QStringLiteral("error"), file.error);
    return object;
}
