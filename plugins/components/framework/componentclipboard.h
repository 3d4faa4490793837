#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class QXmlStreamReader;
class QXmlStreamWriter;

// The clipboard form of component records: a big-endian 32-bit count, then that many byte
// arrays (32-bit length, then the bytes), each one XML document holding one record.
// The bytes may come from any program, so reading trusts none of the counts or lengths.
class ComponentClipboard
{
public:
    static const QString mimeType; // "orvane/copy_data"

    static QByteArray pack(const QList<QByteArray>& documents);
    // Calls visit with each entry, in order, as a view into bytes; stops at the first entry
    // that is not whole. Uses no memory beyond the views.
    static void unpack(const QByteArray& bytes, const std::function<void(const QByteArray&)>& visit);

    // A document with the single element `element`, whose content `write` writes.
    static QByteArray writeDocument(const char* element, const std::function<void(QXmlStreamWriter&)>& write);
    // Runs read on the document's element when it is named `element`; true when the document
    // passed the safe reader of outside XML to its end and read raised no error.
    static bool readDocument(const QByteArray& document, const char* element,
                             const std::function<void(QXmlStreamReader&)>& read);
};
