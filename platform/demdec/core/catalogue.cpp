#include "catalogue.h"

#include "ddtnames.h"

#include <QSet>

#include <QXmlStreamWriter>

namespace DemDecData {

QString CatalogueEntry::value(const QString& name) const
{
    return values.value(Names::taskAttributes().indexOf(name));
}

QString CatalogueEntry::title() const
{
    QStringList parts;
    for (const char* name : {"group", "subgroup", "name"}) {
        const QString part = value(QLatin1String(name));
        if (!part.isEmpty())
            parts.append(part);
    }
    return parts.isEmpty() ? id() : parts.join(QStringLiteral(" / "));
}

int Catalogue::indexOf(const QString& id) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).id() == id)
            return i;
    }
    return -1;
}

bool Catalogue::fromXml(const QByteArray& bytes, Catalogue* catalogue, Xml::ReadError* error)
{
    Xml::SafeXmlReader xml(bytes, QString(), {8, MaxBytes});
    Catalogue read;
    QSet<QString> ids;
    bool ok = xml.readRoot(Names::Catalogue) && xml.expectNoAttributes();
    while (ok && xml.readNextChild()) {
        if (xml.name() != Names::DemDecTask) {
            ok = xml.fail(QStringLiteral("неожиданный элемент <%1> в <%2>").arg(xml.name(), Names::Catalogue));
            break;
        }
        if (read.size() == MaxEntries) {
            ok = xml.fail(QStringLiteral("в каталоге больше %1 записей").arg(MaxEntries));
            break;
        }
        CatalogueEntry entry;
        ok = xml.readAttributes(Names::taskAttributes(), &entry.values);
        if (ok && entry.id().isEmpty())
            ok = xml.fail(QStringLiteral("у <%1> нет атрибута id").arg(Names::DemDecTask));
        if (ok && ids.contains(entry.id()))
            ok = xml.fail(QStringLiteral("id «%1» повторяется").arg(entry.id()));
        ok = ok && xml.expectEmpty();
        if (ok) {
            ids.insert(entry.id());
            read.m_entries.append(entry);
        }
    }
    ok = ok && !xml.hasError() && xml.finish();
    if (!ok) {
        if (error)
            *error = xml.error();
        return false;
    }
    *catalogue = read;
    return true;
}

QByteArray Catalogue::toXml() const
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(4);
    xml.writeStartDocument();
    xml.writeStartElement(Names::Catalogue);
    for (const CatalogueEntry& entry : m_entries) {
        xml.writeEmptyElement(Names::DemDecTask);
        for (int i = 0; i < Names::taskAttributes().size(); ++i)
            xml.writeAttribute(Names::taskAttributes().at(i), entry.values.value(i));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

} // namespace DemDecData
