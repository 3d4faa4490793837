#pragma once

#include "componentuid.h"
#include "textindex.h"

#include <QList>
#include <QString>

namespace CoConfig {
class ComplexConfigInterface;
}

// The components that can be plugged into a power socket, as the socket table shows them.
namespace SocketObjects {

// The cell's text: "rack/name" for a computer or a receiver, "<type name>: name" for a rack or a
// UPS; a null string for any other type.
QString cellText(const CoConfig::ComplexConfigInterface& store, const CoConfig::ConfigUid& object);

struct Choice
{
    QString text;
    CoConfig::ConfigUid object;
};

// The components of a type in uid order, as the chooser lists them: "rack/name" for a computer or
// a receiver, the name for a rack or a UPS; none for any other type.
QList<Choice> choices(const CoConfig::ComplexConfigInterface& store, int type);

// Reads a pasted object: the text its cell shows, "<type name>: uid", or the bare uid of a
// computer or a receiver; an empty cell is none. The edit value is a QSize(uid, type).
CellReader reader(const CoConfig::ComplexConfigInterface* store);

} // namespace SocketObjects
