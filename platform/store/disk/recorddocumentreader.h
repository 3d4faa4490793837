#pragma once

#include "safexmlreader.h"

namespace CoConfig {

// Reads one file of the store as outside input (Xml::SafeXmlReader): the root element, then its
// record elements one by one; errors name the file and the line.
class RecordDocumentReader : public Xml::SafeXmlReader
{
public:
    // Deeper than any record goes, larger than any complex needs.
    static constexpr Limits FileLimits{256, qint64(256) * 1024 * 1024};

    RecordDocumentReader(QIODevice* device, const QString& fileName)
        : SafeXmlReader(device, fileName, FileLimits)
    {
    }
    RecordDocumentReader(const QByteArray& bytes, const QString& fileName)
        : SafeXmlReader(bytes, fileName, FileLimits)
    {
    }

    // Moves to the next child element of the root; false at the root's end, once the rest of
    // the file was checked, or on an error.
    bool nextElement()
    {
        if (readNextChild())
            return true;
        if (!hasError())
            finish();
        return false;
    }
};

} // namespace CoConfig
