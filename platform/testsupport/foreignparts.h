#pragma once

#include "unknownparts.h"

#include <QByteArray>

// Attributes and elements that this version does not know, as a newer version or another tool of
// the complex writes them: to prove that every path keeps them.
namespace ForeignParts {

// The parts as the codec keeps them.
Xml::UnknownParts parts();
// Adds them to the first element of the document named `element`: the attributes to its start
// tag, the elements first among its children.
QByteArray addTo(QByteArray document, const QByteArray& element);
// Whether a document that the codec wrote holds every one of them.
bool heldBy(const QByteArray& document);

} // namespace ForeignParts
