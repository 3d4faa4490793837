#pragma once

#include "safexmlreader.h"

#include <QByteArray>

#include <functional>
#include <string_view>

namespace pugi {
class xml_node;
} // namespace pugi

namespace Xml {

// The store's own files parsed at once, when they keep to what its writer writes: UTF-8 without a
// document type, CDATA, comments or instructions other than the XML declaration, references only
// to XML's own entities and to characters XML may carry, attributes apart, one document element,
// within the limits. Anything else is not taken (false): the caller then reads the bytes with
// SafeXmlReader, which takes what is well formed and says why it refuses the rest.
namespace FastDocument {

// The root's children of such bytes, parsed in place (so the bytes are changed) a slice of about
// sliceBytes at a time into one document, so that few nodes are held at once and they stay in
// cache: take() is called for each child in order, its node valid during the call. False when
// the bytes are not of the form, the root is not named rootName, the root holds text, or take()
// declines.
bool readChildren(QByteArray& bytes, const SafeXmlReader::Limits& limits, std::string_view rootName,
                  const std::function<bool(const pugi::xml_node&)>& take, qsizetype sliceBytes = 256 * 1024);
// The same of bytes held elsewhere (size of them at data).
bool readChildren(char* data, qsizetype size, const SafeXmlReader::Limits& limits, std::string_view rootName,
                  const std::function<bool(const pugi::xml_node&)>& take, qsizetype sliceBytes = 256 * 1024);

} // namespace FastDocument

} // namespace Xml
