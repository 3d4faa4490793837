#include "changewords.h"

#include "fieldtitles.h"
#include "recordkind.h"
#include "referrers.h"

#include <QHash>

namespace History {

namespace {

using ConfigCheck::RecordKind;

enum class Gender { Masculine, Feminine, Neuter };

struct KindWords
{
    QString table;  // "Стойки"
    QString record; // "Стойка"
    Gender gender = Gender::Feminine;
};

// The gender of the table's noun, which the verbs agree with.
Gender genderOf(RecordKind kind)
{
    switch (kind) {
    case RecordKind::Rack:
    case RecordKind::Computer:
    case RecordKind::PowerSocket:
    case RecordKind::Antenna:
        return Gender::Feminine;
    case RecordKind::AntennaControl:
    case RecordKind::ArmUnion:
    case RecordKind::PelengatorUnion:
    case RecordKind::DataStorage:
        return Gender::Neuter;
    default:
        return Gender::Masculine;
    }
}

const QHash<QString, RecordKind>& kindsByElement()
{
    static const QHash<QString, RecordKind> kinds = [] {
        QHash<QString, RecordKind> result;
        for (int kind = 0; kind <= int(RecordKind::DataStorage); ++kind)
            result.insert(ConfigCheck::recordKindKey(RecordKind(kind)), RecordKind(kind));
        return result;
    }();
    return kinds;
}

// A kind the tables do not show (links, the complex's description) goes by its file; its verbs
// agree with "запись".
KindWords wordsFor(const QString& path, const QString& element)
{
    const auto kind = kindsByElement().constFind(element);
    if (kind == kindsByElement().cend())
        return {path, element, Gender::Feminine};
    return {ConfigCheck::recordKindTableTitle(*kind), ConfigCheck::recordKindTitle(*kind), genderOf(*kind)};
}

QString quoted(const QString& value)
{
    return QStringLiteral("«%1»").arg(value);
}

} // namespace

QString changeVerb(const QString& path, const QString& element, RecordChange::Type type, int count)
{
    static const char* const Forms[3][4] = {
        // masculine, feminine, neuter, plural
        {"добавлен", "добавлена", "добавлено", "добавлены"},
        {"удалён", "удалена", "удалено", "удалены"},
        {"изменён", "изменена", "изменено", "изменены"},
    };
    const bool one = count % 10 == 1 && count % 100 != 11;
    const int form = one ? int(wordsFor(path, element).gender) : 3;
    return QString::fromUtf8(Forms[int(type)][form]);
}

QString summaryLine(const QList<FileChanges>& files)
{
    QStringList kinds;
    for (const FileChanges& file : files) {
        if (file.isEmpty())
            continue;
        const QString& element = file.element; // a file holds one kind
        QStringList counts;
        for (const RecordChange::Type type : {RecordChange::Added, RecordChange::Removed, RecordChange::Changed}) {
            const int n = file.count(type);
            if (n > 0)
                counts << QStringLiteral("%1 %2").arg(n).arg(changeVerb(file.path, element, type, n));
        }
        kinds << QStringLiteral("%1: %2").arg(wordsFor(file.path, element).table, counts.join(QLatin1String(", ")));
    }
    return kinds.join(QLatin1String("; "));
}

QString recordTitle(const QString& path, const RecordChange& record)
{
    QString title = wordsFor(path, record.element).record;
    if (!record.uid.isEmpty())
        title += QLatin1Char(' ') + record.uid;
    if (!record.name.isEmpty())
        title += QLatin1Char(' ') + quoted(record.name);
    return title;
}

QString changeLine(const QString& path, const RecordChange& record)
{
    const QString title = recordTitle(path, record);
    if (record.type != RecordChange::Changed)
        return QStringLiteral("%1: %2").arg(title, changeVerb(path, record.element, record.type, 1));
    QStringList fields;
    for (const FieldChange& field : record.fields) {
        fields << QStringLiteral("%1: %2 → %3")
                      .arg(fieldTitle(record.element, field.member),
                           field.oldValue.isNull() ? QStringLiteral("нет") : quoted(field.oldValue),
                           field.newValue.isNull() ? QStringLiteral("нет") : quoted(field.newValue));
    }
    return QStringLiteral("%1: %2").arg(title, fields.join(QLatin1String("; ")));
}

QString fieldTitle(const QString& element, const QString& member)
{
    const QString title = ConfigCheck::fieldTitle(element, member);
    return title.isEmpty() ? member : title;
}

} // namespace History
