#include "recordchanges.h"

#include <QHash>
#include <QXmlStreamReader>

namespace History {

namespace {

struct Member
{
    QString name;
    QString value;
};

struct Record
{
    QString element;
    QString uid;
    QString name;
    QList<Member> members;
    qint64 rawStart = 0; // the record's text in the file, to skip comparing equal records
    qint64 rawLength = 0;
};

struct ParsedFile
{
    QString text;
    Record root; // the root element's own attributes
    QList<Record> records;
    QStringList keys; // of each record
    QHash<QString, int> byKey;
    QString error;

    QStringView raw(const Record& record) const { return QStringView(text).mid(record.rawStart, record.rawLength); }
};

// A nested element as one value: its text, or its children's attributes and texts in order.
QString nestedValue(QXmlStreamReader& xml)
{
    QStringList parts;
    QString text;
    int depth = 1;
    QStringList item;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            item.clear();
            for (const QXmlStreamAttribute& attribute : xml.attributes())
                item << QStringLiteral("%1=%2").arg(attribute.name(), attribute.value());
            if (!item.isEmpty())
                parts << item.join(QLatin1Char(' '));
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
            if (!xml.isWhitespace())
                text += xml.text().trimmed();
            break;
        default:
            break;
        }
    }
    if (!text.isEmpty())
        parts << text;
    return parts.join(QStringLiteral("; "));
}

void readRecord(QXmlStreamReader& xml, Record& record)
{
    for (const QXmlStreamAttribute& attribute : xml.attributes()) {
        const QString name = attribute.name().toString();
        if (name == QLatin1String("uid"))
            record.uid = attribute.value().toString();
        else if (name == QLatin1String("name"))
            record.name = attribute.value().toString();
        record.members.append({name, attribute.value().toString()});
    }
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            return;
        if (token == QXmlStreamReader::StartElement) {
            const QString name = xml.name().toString();
            record.members.append({name, nestedValue(xml)});
        } else if (token == QXmlStreamReader::Characters && !xml.isWhitespace()) {
            record.members.append({QStringLiteral("#text"), xml.text().trimmed().toString()});
        }
    }
}

QString keyOf(const Record& record)
{
    if (!record.uid.isEmpty())
        return record.element + QLatin1Char('#') + record.uid;
    QString key = record.element;
    for (const Member& member : record.members)
        key += QLatin1Char('\n') + member.name + QLatin1Char('=') + member.value;
    return key;
}

ParsedFile parse(const QByteArray& bytes)
{
    ParsedFile file;
    if (bytes.isEmpty())
        return file;
    file.text = QString::fromUtf8(bytes);
    QXmlStreamReader xml(file.text);
    if (!xml.readNextStartElement()) {
        file.error = xml.errorString();
        return file;
    }
    file.root.element = xml.name().toString();
    for (const QXmlStreamAttribute& attribute : xml.attributes())
        file.root.members.append({attribute.name().toString(), attribute.value().toString()});
    qint64 recordStart = xml.characterOffset();
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            Record record;
            record.element = xml.name().toString();
            readRecord(xml, record);
            record.rawStart = recordStart;
            record.rawLength = xml.characterOffset() - recordStart;
            const QString key = keyOf(record);
            QString unique = key;
            // Records without a uid may repeat: each occurrence is one record.
            for (int n = 2; file.byKey.contains(unique); ++n)
                unique = key + QLatin1Char('#') + QString::number(n);
            file.byKey.insert(unique, int(file.records.size()));
            file.keys.append(unique);
            file.records.append(std::move(record));
        }
        if (token != QXmlStreamReader::Characters)
            recordStart = xml.characterOffset();
    }
    if (xml.hasError())
        file.error = QStringLiteral("строка %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    return file;
}

QList<FieldChange> compareMembers(const Record& before, const Record& after)
{
    QList<FieldChange> changes;
    QHash<QString, QString> old;
    for (const Member& member : before.members)
        old.insert(member.name, member.value);
    for (const Member& member : after.members) {
        const auto found = old.constFind(member.name);
        if (found == old.cend())
            changes.append({member.name, {}, member.value});
        else if (found.value() != member.value)
            changes.append({member.name, found.value(), member.value});
        old.remove(member.name);
    }
    for (const Member& member : before.members) {
        if (old.contains(member.name))
            changes.append({member.name, member.value, {}});
    }
    return changes;
}

RecordChange changeOf(RecordChange::Type type, const Record& record)
{
    return RecordChange{type, record.element, record.uid, record.name, {}};
}

} // namespace

int FileChanges::count(RecordChange::Type type) const
{
    int n = 0;
    for (const RecordChange& record : records)
        n += record.type == type;
    return n;
}

FileChanges compareRecordFiles(const QString& path, const QByteArray& before, const QByteArray& after)
{
    FileChanges result;
    result.path = path;
    const ParsedFile old = parse(before);
    const ParsedFile now = parse(after);
    result.error = !old.error.isEmpty() ? old.error : now.error;
    if (!result.error.isEmpty())
        return result;
    QList<FieldChange> rootFields = compareMembers(old.root, now.root);
    if (!rootFields.isEmpty()) {
        RecordChange change = changeOf(RecordChange::Changed, now.root.element.isEmpty() ? old.root : now.root);
        change.fields = std::move(rootFields);
        result.records.append(change);
    }
    for (int i = 0; i < old.records.size(); ++i) {
        if (!now.byKey.contains(old.keys[i]))
            result.records.append(changeOf(RecordChange::Removed, old.records[i]));
    }
    for (int i = 0; i < now.records.size(); ++i) {
        const Record& record = now.records[i];
        const auto found = old.byKey.constFind(now.keys[i]);
        if (found == old.byKey.cend()) {
            result.records.append(changeOf(RecordChange::Added, record));
            continue;
        }
        const Record& previous = old.records[found.value()];
        // Trimmed: the layout around a record is not a change of it.
        if (now.raw(record).trimmed() == old.raw(previous).trimmed())
            continue;
        QList<FieldChange> fields = compareMembers(previous, record);
        if (fields.isEmpty())
            continue;
        RecordChange change = changeOf(RecordChange::Changed, record);
        change.fields = std::move(fields);
        result.records.append(change);
    }
    return result;
}

} // namespace History
