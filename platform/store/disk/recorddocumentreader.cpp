#include "recorddocumentreader.h"

namespace CoConfig {

RecordDocumentReader::RecordDocumentReader(QIODevice* device, const QString& fileName)
    : m_guard(device), m_xml(&m_guard), m_fileName(fileName)
{
    m_xml.setNamespaceProcessing(false);
}

bool RecordDocumentReader::readRoot(const QString& rootName)
{
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::DTD:
            return fail(QStringLiteral("объявление DTD не допускается"));
        case QXmlStreamReader::EntityReference:
            return fail(QStringLiteral("ссылка на сущность не допускается"));
        case QXmlStreamReader::StartElement:
            if (m_xml.name() != rootName)
                return fail(QStringLiteral("ожидался элемент <%1>, найден <%2>").arg(rootName, m_xml.name().toString()));
            return true;
        case QXmlStreamReader::Invalid:
            return failFromReader();
        default:
            break;
        }
    }
    if (m_xml.hasError())
        return failFromReader();
    return fail(QStringLiteral("нет элемента <%1>").arg(rootName));
}

bool RecordDocumentReader::nextElement()
{
    if (hasError())
        return false;
    while (!m_xml.atEnd()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return true;
        case QXmlStreamReader::EndElement:
            // The root's end: what follows may only be comments and white space.
            while (!m_xml.atEnd()) {
                const QXmlStreamReader::TokenType token = m_xml.readNext();
                if (token == QXmlStreamReader::StartElement)
                    return fail(QStringLiteral("лишний элемент <%1> после корневого").arg(m_xml.name().toString()));
                if (token == QXmlStreamReader::Invalid)
                    break;
            }
            if (m_xml.hasError() && m_xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
                return failFromReader();
            return false;
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace())
                return fail(QStringLiteral("лишний текст между записями"));
            break;
        case QXmlStreamReader::EntityReference:
            return fail(QStringLiteral("ссылка на сущность не допускается"));
        case QXmlStreamReader::Invalid:
            return failFromReader();
        default:
            break;
        }
    }
    if (m_xml.hasError())
        return failFromReader();
    return fail(QStringLiteral("файл оборван"));
}

bool RecordDocumentReader::skipElement()
{
    // The guard device bounds how deep this can go.
    m_xml.skipCurrentElement();
    return m_xml.hasError() ? failFromReader() : true;
}

bool RecordDocumentReader::fail(const QString& what)
{
    return fail(what, m_xml.lineNumber());
}

bool RecordDocumentReader::fail(const QString& what, qint64 line)
{
    if (m_error.isEmpty())
        m_error = QStringLiteral("Файл \"%1\", строка %2: %3").arg(m_fileName).arg(line).arg(what);
    return false;
}

bool RecordDocumentReader::failFromReader()
{
    if (!m_guard.refusal().isEmpty())
        return fail(m_guard.refusal(), m_guard.refusalLine());
    if (m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        return fail(QStringLiteral("файл оборван (%1)").arg(m_xml.errorString()));
    const QString what = m_xml.errorString();
    return fail(what.isEmpty() ? QStringLiteral("ошибка XML") : what);
}

} // namespace CoConfig
