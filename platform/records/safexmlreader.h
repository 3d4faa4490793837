#pragma once

#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <memory>

class QBuffer;
class QIODevice;

namespace Xml {

// Where and why a document was refused.
struct ReadError
{
    QString source; // the file's name; empty for bytes from elsewhere
    qint64 line = 0;
    QString message;

    // "Файл "source", строка N: message", leaving out what is not known.
    QString toString() const;
};

// Reads XML that comes from outside (files, the clipboard, the network) and may be hostile.
// Below the QXmlStreamReader a scan of the bytes cuts the document where it declares a DTD (the
// reader would expand its entities), nests deeper or grows longer than the limits, or is not
// UTF-8; what comes before the cut still reaches the reader, so errors show in document order.
// Every error, the scan's, the reader's or the caller's, is kept with its line; the first stays.
class SafeXmlReader
{
public:
    struct Limits
    {
        int maxDepth;
        qint64 maxBytes;
    };

    SafeXmlReader(QIODevice* device, const QString& source, const Limits& limits);
    SafeXmlReader(const QByteArray& bytes, const QString& source, const Limits& limits);
    ~SafeXmlReader();
    SafeXmlReader(const SafeXmlReader&) = delete;
    SafeXmlReader& operator=(const SafeXmlReader&) = delete;

    // The reader under the scan, for the record codec and for attributes.
    QXmlStreamReader& xml() { return m_xml; }
    QStringView name() const { return m_xml.name(); }

    // Moves to the document element; false unless it is named `expected`.
    bool readRoot(QAnyStringView expected);
    // Moves to the next child element of the current one; false at its end or on an error.
    // Text other than white space between elements is an error.
    bool readNextChild();
    // Skips the element the reader stands on, up to its end.
    bool skipElement();
    // Reads what follows the document element: only comments, instructions and white space.
    bool finish();

    // Reads the current element's attributes into values, ordered as names; others fail.
    bool readAttributes(const QStringList& names, QStringList* values);
    bool expectNoAttributes();
    // The current element has no children; leaves the reader at its end.
    bool expectEmpty();

    // Records an error at the reader's line (or at `line`) and stops the reader; returns false.
    bool fail(const QString& message);
    bool fail(const QString& message, qint64 line);
    // Takes over an error of the reader: the scan's cut, a codec's error, XML that is not well formed.
    bool failFromReader();

    bool hasError() const { return !m_error.message.isEmpty(); }
    ReadError error() const { return m_error; }
    QString errorString() const { return m_error.toString(); }

private:
    class Guard;

    void start(QIODevice* device, const QString& source, const Limits& limits);

    std::unique_ptr<QBuffer> m_buffer;
    std::unique_ptr<Guard> m_guard;
    QXmlStreamReader m_xml;
    ReadError m_error;
};

} // namespace Xml
