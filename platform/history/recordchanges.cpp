#include "recordchanges.h"

#include "recordspans.h"

#include <QHash>
#include <QVarLengthArray>
#include <QXmlStreamReader>

#include <algorithm>
#include <vector>

namespace History {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

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

QString attributesText(const QXmlStreamAttributes& attributes)
{
    QStringList items;
    for (const QXmlStreamAttribute& attribute : attributes)
        items << QStringLiteral("%1=%2").arg(attribute.name(), attribute.value());
    return items.join(QLatin1Char(' '));
}

// A nested element (the reader on its start) as one value: its own attributes, then its
// children's attributes and its texts, in order.
QString nestedValue(QXmlStreamReader& xml)
{
    QStringList parts;
    if (!xml.attributes().isEmpty())
        parts << attributesText(xml.attributes());
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (!xml.attributes().isEmpty())
                parts << attributesText(xml.attributes());
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

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
        || c == '.' || c == ':';
}

// An attribute's value as an XML reader gives it: line ends and tabs as spaces, character
// references and the five entities resolved; false for anything else after '&'.
bool unescape(QByteArrayView value, QString* text)
{
    if (std::none_of(value.begin(), value.end(), [](char c) { return c == '&' || c == '\t' || c == '\n' || c == '\r'; })) {
        *text = QString::fromUtf8(value);
        return true;
    }
    QByteArray plain;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n')
            continue; // one line end
        if (isSpace(value[i])) {
            plain += ' ';
            continue;
        }
        if (value[i] != '&') {
            plain += value[i];
            continue;
        }
        const qsizetype end = value.indexOf(';', i);
        if (end < 0)
            return false;
        const QByteArrayView name = value.sliced(i + 1, end - i - 1);
        static const QHash<QByteArray, char> Entities = {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        if (name.startsWith('#')) {
            bool ok = false;
            const uint code = name.startsWith("#x") ? name.sliced(2).toUInt(&ok, 16) : name.sliced(1).toUInt(&ok, 10);
            if (!ok)
                return false;
            const char32_t character = code;
            plain += QString::fromUcs4(&character, 1).toUtf8();
        } else if (Entities.contains(name.toByteArray())) {
            plain += Entities.value(name.toByteArray());
        } else {
            return false;
        }
        i = end;
    }
    *text = QString::fromUtf8(plain);
    return true;
}

// A tag (at its '<'), read without an XML reader: its name and attributes, whether it closes
// itself; `at` is then past it. False for anything else (names with a prefix among them).
struct Tag
{
    QString name;
    QList<Member> attributes;
    bool empty = false;
};

bool readTag(QByteArrayView bytes, qsizetype& at, Tag* tag)
{
    if (at >= bytes.size() || bytes[at] != '<')
        return false;
    const qsizetype nameStart = ++at;
    while (at < bytes.size() && isNameChar(bytes[at]) && bytes[at] != ':')
        ++at;
    if (at == nameStart)
        return false;
    tag->name = QString::fromLatin1(bytes.sliced(nameStart, at - nameStart));
    while (true) {
        const qsizetype spaceStart = at;
        while (at < bytes.size() && isSpace(bytes[at]))
            ++at;
        if (at >= bytes.size())
            return false;
        if (bytes[at] == '>' || bytes.sliced(at).startsWith("/>")) {
            tag->empty = bytes[at] == '/';
            at += tag->empty ? 2 : 1;
            return true;
        }
        if (at == spaceStart)
            return false;
        const qsizetype attributeStart = at;
        while (at < bytes.size() && isNameChar(bytes[at]) && bytes[at] != ':')
            ++at;
        if (at == attributeStart || at + 1 >= bytes.size() || bytes[at] != '='
            || (bytes[at + 1] != '"' && bytes[at + 1] != '\''))
            return false;
        const char quote = bytes[at + 1];
        const qsizetype valueEnd = bytes.indexOf(quote, at + 2);
        if (valueEnd < 0)
            return false;
        const QByteArrayView value = bytes.sliced(at + 2, valueEnd - at - 2);
        Member member{QString::fromLatin1(bytes.sliced(attributeStart, at - attributeStart)), {}};
        if (value.contains('<') || !unescape(value, &member.value))
            return false;
        tag->attributes.append(std::move(member));
        at = valueEnd + 1;
    }
}

// The text before the next tag, as the XML reader gives it (trimmed; `blank` when it is white
// space only); false for what it would read otherwise (references, line ends of two characters).
bool readText(QByteArrayView bytes, qsizetype& at, QString* text, bool* blank)
{
    qsizetype end = bytes.indexOf('<', at);
    if (end < 0)
        end = bytes.size();
    const QByteArrayView raw = bytes.sliced(at, end - at);
    at = end;
    *blank = std::all_of(raw.begin(), raw.end(), isSpace);
    if (*blank)
        return true;
    if (raw.contains('&') || raw.contains('\r'))
        return false;
    *text = QString::fromUtf8(raw).trimmed();
    return true;
}

// The end tag of `name` at `at`; `at` is then past it.
bool readEndTag(QByteArrayView bytes, qsizetype& at, const QString& name)
{
    if (!bytes.sliced(at).startsWith("</"))
        return false;
    at += 2;
    const qsizetype nameStart = at;
    while (at < bytes.size() && isNameChar(bytes[at]))
        ++at;
    if (QLatin1String(bytes.sliced(nameStart, at - nameStart)) != name)
        return false;
    while (at < bytes.size() && isSpace(bytes[at]))
        ++at;
    return at < bytes.size() && bytes[at++] == '>';
}

QString attributesText(const QList<Member>& attributes)
{
    QStringList items;
    for (const Member& attribute : attributes)
        items << attribute.name + QLatin1Char('=') + attribute.value;
    return items.join(QLatin1Char(' '));
}

// nestedValue() of the element whose start tag was just read, without an XML reader.
bool readNested(QByteArrayView bytes, qsizetype& at, const Tag& start, QString* value)
{
    QStringList parts;
    if (!start.attributes.isEmpty())
        parts << attributesText(start.attributes);
    QString text;
    QStringList open;
    if (!start.empty)
        open << start.name;
    while (!open.isEmpty()) {
        QString piece;
        bool blank = false;
        if (!readText(bytes, at, &piece, &blank) || at >= bytes.size())
            return false;
        if (!blank)
            text += piece;
        if (bytes.sliced(at).startsWith("</")) {
            if (!readEndTag(bytes, at, open.takeLast()))
                return false;
            continue;
        }
        Tag child;
        if (!readTag(bytes, at, &child))
            return false;
        if (!child.attributes.isEmpty())
            parts << attributesText(child.attributes);
        if (!child.empty)
            open << child.name;
    }
    if (!text.isEmpty())
        parts << text;
    *value = parts.join(QStringLiteral("; "));
    return true;
}

// A record read from its own bytes as readRecord() reads it, without an XML reader where the
// store's plain layout allows; false for anything else.
bool readQuickly(QByteArrayView bytes, Record* record)
{
    qsizetype at = 0;
    Tag tag;
    if (!readTag(bytes, at, &tag))
        return false;
    record->element = tag.name;
    for (Member& member : tag.attributes) {
        if (member.name == QLatin1String("uid"))
            record->uid = member.value;
        else if (member.name == QLatin1String("name"))
            record->name = member.value;
    }
    record->members = std::move(tag.attributes);
    if (tag.empty)
        return at == bytes.size();
    while (true) {
        QString text;
        bool blank = false;
        if (!readText(bytes, at, &text, &blank) || at >= bytes.size())
            return false;
        if (!blank)
            record->members.append({QStringLiteral("#text"), text});
        if (bytes.sliced(at).startsWith("</"))
            return readEndTag(bytes, at, record->element) && at == bytes.size();
        Tag child;
        if (!readTag(bytes, at, &child))
            return false;
        Member member{child.name, {}};
        if (!readNested(bytes, at, child, &member.value))
            return false;
        record->members.append(std::move(member));
    }
}

Record readChunk(QByteArrayView bytes)
{
    Record record;
    if (readQuickly(bytes, &record))
        return record;
    record = Record();
    QXmlStreamReader xml(bytes.toByteArray());
    if (xml.readNextStartElement()) {
        record.element = xml.name().toString();
        readRecord(xml, record);
    }
    return record;
}

// One record of a version: its element, its uid (or, without one, its bytes) and which
// occurrence of those it is.
struct SpanKey
{
    QByteArrayView element;
    QByteArrayView id;
    int occurrence = 0;
    friend bool operator==(const SpanKey& a, const SpanKey& b)
    {
        return a.occurrence == b.occurrence && a.id == b.id && a.element == b.element;
    }
};

size_t qHash(const SpanKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.id, key.occurrence);
}

struct IndexedSpans
{
    RecordSpans spans;
    QList<SpanKey> keys;
    QHash<SpanKey, int> byKey;

    void index()
    {
        keys.reserve(spans.records.size());
        byKey.reserve(spans.records.size());
        for (const RecordSpan& record : std::as_const(spans.records)) {
            SpanKey key{record.element, record.uid.isEmpty() ? record.bytes : record.uid, 0};
            while (byKey.contains(key)) // records without a uid may repeat: each occurrence is one
                ++key.occurrence;
            byKey.insert(key, int(keys.size()));
            keys.append(key);
        }
    }
};

void note(FileChanges& result, RecordChange::Type type, const QString& element)
{
    ++result.counts[type];
    if (result.element.isEmpty())
        result.element = element;
}

void keep(FileChanges& result, RecordChange&& change)
{
    note(result, change.type, change.element);
    result.records.append(std::move(change));
}

// A record of both versions, kept when its members differ.
void keepIfChanged(FileChanges& result, const Record& previous, const Record& record)
{
    QList<FieldChange> fields = compareMembers(previous, record);
    if (fields.isEmpty())
        return;
    RecordChange change = changeOf(RecordChange::Changed, record.element.isEmpty() ? previous : record);
    change.fields = std::move(fields);
    keep(result, std::move(change));
}

// An empty element's attributes as bytes, for records compared without making their values.
struct RawTag
{
    QByteArrayView element;
    QVarLengthArray<std::pair<QByteArrayView, QByteArrayView>, 24> attributes; // name, escaped value
};

bool readRawEmptyElement(QByteArrayView bytes, RawTag* tag)
{
    if (!bytes.startsWith('<') || !bytes.endsWith("/>"))
        return false;
    qsizetype at = 1;
    while (at < bytes.size() && isNameChar(bytes[at]) && bytes[at] != ':')
        ++at;
    tag->element = bytes.sliced(1, at - 1);
    const qsizetype end = bytes.size() - 2;
    while (true) {
        const qsizetype spaceStart = at;
        while (at < end && isSpace(bytes[at]))
            ++at;
        if (at == end)
            return !tag->element.isEmpty();
        const qsizetype nameStart = at;
        while (at < end && isNameChar(bytes[at]) && bytes[at] != ':')
            ++at;
        if (at == spaceStart || at == nameStart || at + 1 >= end || bytes[at] != '='
            || (bytes[at + 1] != '"' && bytes[at + 1] != '\''))
            return false;
        const qsizetype valueEnd = bytes.indexOf(bytes[at + 1], at + 2);
        if (valueEnd < 0 || valueEnd >= end || bytes.sliced(at + 2, valueEnd - at - 2).contains('<'))
            return false;
        tag->attributes.append({bytes.sliced(nameStart, at - nameStart), bytes.sliced(at + 2, valueEnd - at - 2)});
        at = valueEnd + 1;
    }
}

// Two versions of a record that are empty elements (as most are), their values made only where
// their bytes differ; as keepIfChanged() on the records read. False for other records.
bool keepIfChangedQuickly(FileChanges& result, QByteArrayView before, QByteArrayView after)
{
    RawTag old;
    RawTag now;
    if (!readRawEmptyElement(before, &old) || !readRawEmptyElement(after, &now))
        return false;
    const auto find = [](const RawTag& tag, QByteArrayView name) -> const QByteArrayView* {
        for (const auto& [attribute, value] : tag.attributes) {
            if (attribute == name)
                return &value;
        }
        return nullptr;
    };
    QList<FieldChange> fields;
    QString oldValue;
    QString newValue;
    for (const auto& [name, value] : now.attributes) {
        const QByteArrayView* previous = find(old, name);
        if (previous && *previous == value)
            continue;
        if (!unescape(value, &newValue) || (previous && !unescape(*previous, &oldValue)))
            return false;
        if (!previous)
            fields.append({QString::fromLatin1(name), {}, newValue});
        else if (oldValue != newValue)
            fields.append({QString::fromLatin1(name), oldValue, newValue});
    }
    for (const auto& [name, value] : old.attributes) {
        if (find(now, name))
            continue;
        if (!unescape(value, &oldValue))
            return false;
        fields.append({QString::fromLatin1(name), oldValue, {}});
    }
    if (fields.isEmpty())
        return true;
    RecordChange change{RecordChange::Changed, QString::fromLatin1(now.element), {}, {}, std::move(fields)};
    if (const QByteArrayView* uid = find(now, "uid"); uid && !unescape(*uid, &change.uid))
        return false;
    if (const QByteArrayView* name = find(now, "name"); name && !unescape(*name, &change.name))
        return false;
    keep(result, std::move(change));
    return true;
}

// A record only counted, or read from its bytes to be shown.
void addSpan(FileChanges& result, RecordChange::Type type, const RecordSpan& span, Detail detail)
{
    if (detail == Detail::Fields)
        keep(result, changeOf(type, readChunk(span.bytes)));
    else if (++result.counts[type]; result.element.isEmpty())
        result.element = QString::fromUtf8(span.element);
}

// The whole documents read, for what the quick split does not take (a file that is no XML
// document among them, whose error this reports).
FileChanges compareParsed(const QString& path, const QByteArray& before, const QByteArray& after)
{
    FileChanges result;
    result.path = path;
    const ParsedFile old = parse(before);
    const ParsedFile now = parse(after);
    result.error = !old.error.isEmpty() ? old.error : now.error;
    if (!result.error.isEmpty())
        return result;
    if (!before.isEmpty())
        keepIfChanged(result, old.root, now.root);
    for (int i = 0; i < old.records.size(); ++i) {
        if (!now.byKey.contains(old.keys[i]))
            keep(result, changeOf(RecordChange::Removed, old.records[i]));
    }
    for (int i = 0; i < now.records.size(); ++i) {
        const Record& record = now.records[i];
        const auto found = old.byKey.constFind(now.keys[i]);
        if (found == old.byKey.cend()) {
            keep(result, changeOf(RecordChange::Added, record));
            continue;
        }
        const Record& previous = old.records[found.value()];
        if (now.raw(record).trimmed() != old.raw(previous).trimmed())
            keepIfChanged(result, previous, record);
    }
    return result;
}

// A uid as the store writes it: digits without a leading zero; -1 for anything else.
qint64 plainUid(QByteArrayView uid)
{
    if (uid.isEmpty() || uid.size() > 15 || (uid.size() > 1 && uid[0] == '0'))
        return -1;
    qint64 value = 0;
    for (const char c : uid) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The records' plain uids when they ascend strictly, as the store writes them; false otherwise.
bool ascendingUids(const QList<RecordSpan>& records, std::vector<qint64>* uids)
{
    uids->reserve(size_t(records.size()));
    for (const RecordSpan& record : records) {
        const qint64 uid = plainUid(record.uid);
        if (uid < 0 || (!uids->empty() && uid <= uids->back()))
            return false;
        uids->push_back(uid);
    }
    return true;
}

// Which old record each new one is (-1: added), and the old ones that are gone.
struct Matches
{
    std::vector<int> oldOfNew;
    std::vector<int> removed;
};

// Records in ascending uid order on both sides are matched by walking both at once; others
// through an index of their keys.
Matches match(IndexedSpans& old, IndexedSpans& now)
{
    const QList<RecordSpan>& oldRecords = old.spans.records;
    const QList<RecordSpan>& newRecords = now.spans.records;
    Matches result;
    result.oldOfNew.assign(size_t(newRecords.size()), -1);
    std::vector<qint64> oldUids;
    std::vector<qint64> newUids;
    if (ascendingUids(oldRecords, &oldUids) && ascendingUids(newRecords, &newUids)) {
        size_t i = 0;
        size_t j = 0;
        while (i < oldUids.size() || j < newUids.size()) {
            if (j == newUids.size() || (i < oldUids.size() && oldUids[i] < newUids[j])) {
                result.removed.push_back(int(i++));
            } else if (i == oldUids.size() || newUids[j] < oldUids[i]) {
                ++j;
            } else if (oldRecords[qsizetype(i)].element != newRecords[qsizetype(j)].element) {
                result.removed.push_back(int(i++));
                ++j;
            } else {
                result.oldOfNew[j++] = int(i++);
            }
        }
        return result;
    }
    old.index();
    now.index();
    for (int i = 0; i < oldRecords.size(); ++i) {
        if (!now.byKey.contains(old.keys[i]))
            result.removed.push_back(i);
    }
    for (int i = 0; i < newRecords.size(); ++i)
        result.oldOfNew[size_t(i)] = old.byKey.value(now.keys[i], -1);
    return result;
}

} // namespace

FileChanges compareRecordFiles(const QString& path, const QByteArray& before, const QByteArray& after, Detail detail)
{
    IndexedSpans old;
    IndexedSpans now;
    // Where the store laid both out, only the records around their difference are looked at.
    if (before.isEmpty() || after.isEmpty() || !differingRecords(before, after, &old.spans, &now.spans)) {
        old = IndexedSpans();
        now = IndexedSpans();
        if (!scanRecords(before, &old.spans) && !before.isEmpty())
            return compareParsed(path, before, after);
        if (!scanRecords(after, &now.spans) && !after.isEmpty())
            return compareParsed(path, before, after);
    }
    FileChanges result;
    result.path = path;
    // A file new to the directory brings its records; its root's attributes are no change.
    if (!before.isEmpty() && old.spans.rootTag != now.spans.rootTag) {
        // The root's own uid (the complex's) is no record's.
        Record oldRoot = readChunk(old.spans.rootTag);
        Record newRoot = readChunk(now.spans.rootTag);
        oldRoot.uid.clear();
        newRoot.uid.clear();
        keepIfChanged(result, oldRoot, newRoot);
    }
    const QList<RecordSpan>& oldRecords = old.spans.records;
    const QList<RecordSpan>& newRecords = now.spans.records;
    const Matches matches = match(old, now);
    for (const int i : matches.removed)
        addSpan(result, RecordChange::Removed, oldRecords[i], detail);
    for (int i = 0; i < newRecords.size(); ++i) {
        const int found = matches.oldOfNew[size_t(i)];
        if (found < 0) {
            addSpan(result, RecordChange::Added, newRecords[i], detail);
            continue;
        }
        const RecordSpan& previous = oldRecords[found];
        if (newRecords[i].bytes == previous.bytes)
            continue;
        if (detail == Detail::Counts) {
            addSpan(result, RecordChange::Changed, newRecords[i], detail);
            continue;
        }
        if (!keepIfChangedQuickly(result, previous.bytes, newRecords[i].bytes))
            keepIfChanged(result, readChunk(previous.bytes), readChunk(newRecords[i].bytes));
    }
    return result;
}

} // namespace History
