#pragma once

#include "nestingguarddevice.h"

#include <QString>
#include <QXmlStreamReader>

class QIODevice;

namespace CoConfig {

// Reads one file of the store as untrusted input: refuses a DTD (the reader would expand its
// entities without a limit), bounds the nesting depth (NestingGuardDevice), checks the root
// element, walks the root's child elements, and words every error with the file's name and line.
class RecordDocumentReader
{
public:
    RecordDocumentReader(QIODevice* device, const QString& fileName);

    QXmlStreamReader& xml() { return m_xml; }

    // Moves to the root element; false (with an error) unless it is named rootName.
    bool readRoot(const QString& rootName);
    // Moves to the next child element of the root; false at the root's end or on an error.
    bool nextElement();
    // Skips the element the reader stands on.
    bool skipElement();

    // Records an error at the reader's current line; returns false for convenience.
    bool fail(const QString& what);
    bool fail(const QString& what, qint64 line);
    // Takes over an error that the record codec raised on the reader.
    bool failFromReader();

    bool hasError() const { return !m_error.isEmpty(); }
    QString errorString() const { return m_error; }

private:
    NestingGuardDevice m_guard;
    QXmlStreamReader m_xml;
    QString m_fileName;
    QString m_error;
};

} // namespace CoConfig
