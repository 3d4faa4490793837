#include "strictxmlreader.h"

namespace DemDecData {

QString ParseError::toString() const
{
    return line > 0 ? QStringLiteral("строка %1: %2").arg(line).arg(message) : message;
}

StrictXmlReader::StrictXmlReader(const QByteArray& bytes)
    : m_xml(bytes)
{
}

bool StrictXmlReader::readRoot(QLatin1String expected)
{
    while (!m_xml.atEnd()) {
        m_xml.readNext();
        if (m_xml.isStartElement())
            break;
        if (m_xml.isCharacters() && !m_xml.isWhitespace())
            return fail(QStringLiteral("текст вне корневого элемента"));
    }
    if (m_xml.hasError())
        return false;
    if (!m_xml.isStartElement())
        return fail(QStringLiteral("нет корневого элемента <%1>").arg(expected));
    if (m_xml.name() != expected)
        return fail(QStringLiteral("корневой элемент <%1> вместо <%2>").arg(m_xml.name(), expected));
    return true;
}

bool StrictXmlReader::readNextChild()
{
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return true;
        case QXmlStreamReader::EndElement:
            return false;
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace())
                return fail(QStringLiteral("лишний текст «%1»").arg(m_xml.text().trimmed().left(40)));
            break;
        default:
            break;
        }
    }
    return false;
}

bool StrictXmlReader::readAttributes(const QStringList& names, QStringList* values)
{
    *values = QStringList();
    for (int i = 0; i < names.size(); ++i)
        values->append(QString());
    const QXmlStreamAttributes attributes = m_xml.attributes();
    for (const QXmlStreamAttribute& attribute : attributes) {
        const int index = names.indexOf(attribute.qualifiedName().toString());
        if (index < 0)
            return fail(QStringLiteral("неизвестный атрибут «%1» у <%2>").arg(attribute.qualifiedName(), m_xml.name()));
        (*values)[index] = attribute.value().toString();
    }
    return true;
}

bool StrictXmlReader::expectNoAttributes()
{
    if (m_xml.attributes().isEmpty())
        return true;
    return fail(QStringLiteral("у <%1> не бывает атрибутов").arg(m_xml.name()));
}

bool StrictXmlReader::expectEmpty()
{
    const QString element = m_xml.name().toString();
    if (readNextChild())
        return fail(QStringLiteral("<%1> внутри <%2>").arg(m_xml.name(), element));
    return !m_xml.hasError();
}

bool StrictXmlReader::finish()
{
    while (!m_xml.atEnd()) {
        m_xml.readNext();
        if (m_xml.isStartElement() || (m_xml.isCharacters() && !m_xml.isWhitespace()))
            return fail(QStringLiteral("данные после корневого элемента"));
    }
    return !m_xml.hasError();
}

bool StrictXmlReader::fail(const QString& message)
{
    if (!m_xml.hasError())
        m_xml.raiseError(message);
    return false;
}

ParseError StrictXmlReader::error() const
{
    return ParseError{m_xml.lineNumber(), m_xml.errorString()};
}

} // namespace DemDecData
