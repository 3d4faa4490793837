#pragma once

#include "parseerror.h"

#include <QLatin1String>
#include <QStringList>
#include <QXmlStreamReader>

namespace DemDecData {

// A QXmlStreamReader that accepts only what a document of ours may hold: the expected elements
// and attributes, no stray text. Every check fails with a message at the current line.
class StrictXmlReader
{
public:
    explicit StrictXmlReader(const QByteArray& bytes);

    QStringView name() const { return m_xml.name(); }
    qint64 lineNumber() const { return m_xml.lineNumber(); }

    // Moves to the document element and checks its name.
    bool readRoot(QLatin1String expected);
    // Moves to the next child element of the current one; false at its end or on an error.
    bool readNextChild();
    // Reads the current element's attributes into values (ordered as names); unknown ones fail.
    bool readAttributes(const QStringList& names, QStringList* values);
    // The current element has no attributes.
    bool expectNoAttributes();
    // The current element has no children; leaves the reader at its end.
    bool expectEmpty();
    // Reads the rest of the document (only comments or whitespace may follow the root).
    bool finish();

    bool fail(const QString& message);
    bool hasError() const { return m_xml.hasError(); }
    ParseError error() const;

private:
    QXmlStreamReader m_xml;
};

} // namespace DemDecData
