#pragma once

#include "safexmlreader.h"

#include <QByteArray>

#include <memory>

namespace pugi {
class xml_document;
class xml_node;
} // namespace pugi

namespace Xml {

// The store's own files parsed at once, when they keep to what its writer writes: UTF-8 without a
// document type, CDATA, comments or instructions other than the XML declaration, references only
// to XML's own entities and to characters XML may carry, attributes apart, one document element,
// within the limits. Anything else is not parsed (false): the caller then reads the bytes with
// SafeXmlReader, which takes what is well formed and says why it refuses the rest.
class FastDocument
{
public:
    FastDocument();
    ~FastDocument();
    FastDocument(const FastDocument&) = delete;
    FastDocument& operator=(const FastDocument&) = delete;

    bool parse(QByteArray bytes, const SafeXmlReader::Limits& limits);
    // The document element; valid while the document lives.
    pugi::xml_node root() const;

    // Whether the bytes keep to that form (parse() checks it first).
    static bool keepsToForm(const QByteArray& bytes, const SafeXmlReader::Limits& limits);

private:
    QByteArray m_bytes; // parsed in place
    std::unique_ptr<pugi::xml_document> m_document;
};

} // namespace Xml
