#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QXmlStreamReader;
class QXmlStreamWriter;

namespace Xml {

class TextWriter;

// The attributes and child elements of a record that this version does not know (written by a
// newer version or by another tool), kept as read so that writing the record gives them back.
// Empty costs one null pointer; copies share the parts.
class UnknownParts
{
public:
    struct Attribute
    {
        QString name; // as written, with its prefix
        QString value;
        friend bool operator==(const Attribute& a, const Attribute& b) { return a.name == b.name && a.value == b.value; }
    };

    UnknownParts() = default;
    UnknownParts(QList<Attribute> attributes, QStringList elements);

    bool isEmpty() const { return !m_parts; }
    QList<Attribute> attributes() const;
    // Each child element with its content, as XML text without insignificant white space.
    QStringList elements() const;

    friend bool operator==(const UnknownParts& a, const UnknownParts& b);
    friend bool operator!=(const UnknownParts& a, const UnknownParts& b) { return !(a == b); }

    // Reads the element the reader stands on, with all it holds, up to its end element.
    static QString captureElement(QXmlStreamReader& reader);
    // Writes the attributes into the element the writer has open; then, after the known children,
    // the elements.
    void writeAttributes(QXmlStreamWriter& writer) const;
    void writeElements(QXmlStreamWriter& writer) const;
    void writeAttributes(TextWriter& writer) const;
    void writeElements(TextWriter& writer) const;

private:
    template <typename W>
    void writeAttributesTo(W& writer) const;
    template <typename W>
    void writeElementsTo(W& writer) const;

    struct Parts
    {
        QList<Attribute> attributes;
        QStringList elements;
    };
    std::shared_ptr<const Parts> m_parts;
};

} // namespace Xml
