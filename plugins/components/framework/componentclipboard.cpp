#include "componentclipboard.h"

#include "safexmlreader.h"

#include <QDataStream>
#include <QIODevice>
#include <QXmlStreamWriter>
#include <QtEndian>

const QString ComponentClipboard::mimeType = QStringLiteral("orvane/copy_data");

QByteArray ComponentClipboard::pack(const QList<QByteArray>& documents)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << qint32(documents.size());
    for (const QByteArray& document : documents)
        stream << document;
    return bytes;
}

void ComponentClipboard::unpack(const QByteArray& bytes, const std::function<void(const QByteArray&)>& visit)
{
    // Read by hand rather than with QDataStream >> QList, which reserves whatever count the
    // bytes claim before it reads a single entry.
    const char* const data = bytes.constData();
    const qsizetype size = bytes.size();
    if (size < 4)
        return;
    const qint32 count = qFromBigEndian<qint32>(data);
    qsizetype pos = 4;
    for (qint32 i = 0; i < count; ++i) {
        if (size - pos < 4)
            return;
        const quint32 length = qFromBigEndian<quint32>(data + pos);
        pos += 4;
        if (length == 0xFFFFFFFFu) { // a null array: an entry with no document
            visit(QByteArray());
            continue;
        }
        if (qsizetype(length) > size - pos)
            return;
        visit(QByteArray::fromRawData(data + pos, qsizetype(length)));
        pos += qsizetype(length);
    }
}

QByteArray ComponentClipboard::writeDocument(const char* element, const std::function<void(QXmlStreamWriter&)>& write)
{
    QByteArray document;
    QXmlStreamWriter writer(&document);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QLatin1String(element));
    write(writer);
    writer.writeEndElement();
    writer.writeEndDocument();
    return document;
}

bool ComponentClipboard::readDocument(const QByteArray& document, const char* element,
                                      const std::function<void(QXmlStreamReader&)>& read)
{
    // One record per document: nothing of ours comes near these limits.
    constexpr Xml::SafeXmlReader::Limits limits{64, 16 * 1024 * 1024};
    Xml::SafeXmlReader reader(document, QString(), limits);
    if (!reader.readRoot(QLatin1String(element)))
        return false;
    read(reader.xml());
    return !reader.xml().hasError() && reader.finish();
}
