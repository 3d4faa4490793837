#include "uidallocator.h"

#include "kindfile.h"
#include "posixio.h"
#include "recorddocumentreader.h"

#include <QFile>
#include <QXmlStreamWriter>

#include <cerrno>
#include <climits>
#include <fcntl.h>

namespace CoConfig {

namespace {
const char RootName[] = "UidMarks";
const char KindName[] = "Kind";
} // namespace

QString UidMarks::fileName()
{
    return QStringLiteral("uids.xml");
}

bool UidMarks::read(const QString& dirPath, QString* error)
{
    const QString path = dirPath + QLatin1Char('/') + fileName();
    const int fd = ::open(PosixIo::encodePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;
        *error = PosixIo::failure(QStringLiteral("открыть файл"), path, errno);
        return false;
    }
    QFile device;
    device.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    RecordDocumentReader reader(&device, path);
    QMap<QString, qint64> found;
    bool ok = reader.readRoot(QLatin1String(RootName));
    while (ok && reader.nextElement()) {
        if (reader.name() != QLatin1String(KindName)) {
            ok = reader.skipElement(); // written by a later version
            continue;
        }
        QStringList values;
        bool isNumber = false;
        ok = reader.readAttributes({QStringLiteral("file"), QStringLiteral("last")}, &values);
        const qint64 uid = values.value(1).toLongLong(&isNumber);
        if (ok && (values.first().isEmpty() || !isNumber))
            ok = reader.fail(QStringLiteral("у <%1> нет файла вида или числа last").arg(QLatin1String(KindName)));
        ok = ok && reader.expectEmpty();
        if (ok)
            found.insert(values.first(), qMax(found.value(values.first(), INT_MIN), uid));
    }
    if (!ok || reader.hasError()) {
        *error = reader.errorString();
        return false;
    }
    for (auto it = found.cbegin(); it != found.cend(); ++it)
        m_last[it.key()] = qMax(m_last.value(it.key(), INT_MIN), it.value());
    return true;
}

qint64 UidMarks::last(const KindFile& file) const
{
    return m_last.value(file.path(), INT_MIN);
}

void UidMarks::raise(const KindFile& file, qint64 uid)
{
    if (uid > last(file))
        m_last[file.path()] = uid;
}

void UidMarks::raise(const UidMarks& other)
{
    for (auto it = other.m_last.cbegin(); it != other.m_last.cend(); ++it)
        m_last[it.key()] = qMax(m_last.value(it.key(), INT_MIN), it.value());
}

QByteArray UidMarks::toBytes() const
{
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(2);
    writer.writeStartDocument();
    writer.writeStartElement(QLatin1String(RootName));
    for (auto it = m_last.cbegin(); it != m_last.cend(); ++it) {
        writer.writeEmptyElement(QLatin1String(KindName));
        writer.writeAttribute(QStringLiteral("file"), it.key());
        writer.writeAttribute(QStringLiteral("last"), QString::number(it.value()));
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return bytes;
}

int UidAllocator::generate(int type, const ComplexData& data, qint64 given)
{
    const KindFile* file = KindFile::forUidType(type);
    if (!file)
        return -1;
    Kind& kind = m_kinds[type];
    const qint64 candidate = qMax(qMax(kind.next, file->lastUid(data) + 1), given + 1);
    if (candidate <= INT_MAX) {
        kind.next = candidate + 1;
        kind.answered.insert(int(candidate));
        return int(candidate);
    }
    // The counter is spent: look for a gap above every uid given before, the slow way.
    for (qint64 uid = qMax<qint64>(1, given + 1); uid <= INT_MAX; ++uid) {
        if (!kind.answered.contains(int(uid)) && !file->holdsUid(data, int(uid))) {
            kind.answered.insert(int(uid));
            return int(uid);
        }
    }
    return -1;
}

} // namespace CoConfig
