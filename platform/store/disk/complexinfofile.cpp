#include "complexinfofile.h"

namespace CoConfig {

namespace {

QMap<int, ComplexInfo>& complexInfos(ComplexData& data)
{
    return data.complexInfos;
}

} // namespace

ComplexInfoFile::ComplexInfoFile()
    : RecordMapFile("complex/complex.xml", ObjectAll, 0, "Complex", &complexInfos)
{
}

void ComplexInfoFile::take(ComplexData& into, ComplexData& from) const
{
    RecordMapFile::take(into, from);
    into.complexUid = from.complexUid;
}

void ComplexInfoFile::clear(ComplexData& data) const
{
    RecordMapFile::clear(data);
    data.complexUid = -1;
}

void ComplexInfoFile::copy(ComplexData& into, const ComplexData& from) const
{
    RecordMapFile::copy(into, from);
    into.complexUid = from.complexUid;
}

bool ComplexInfoFile::shared(const ComplexData& a, const ComplexData& b) const
{
    return a.complexUid == b.complexUid && RecordMapFile::shared(a, b);
}

void ComplexInfoFile::writeRootAttributes(Xml::TextWriter& writer, const ComplexData& data) const
{
    writer.writeAttribute(u"uid", qint64(data.complexUid));
}

bool ComplexInfoFile::readRootAttributes(RecordDocumentReader& reader, ComplexData& data) const
{
    const QXmlStreamAttributes attributes = reader.xml().attributes();
    if (!attributes.hasAttribute(QLatin1String("uid"))) {
        data.complexUid = -1;
        return true;
    }
    bool ok = false;
    const int uid = attributes.value(QLatin1String("uid")).toInt(&ok);
    if (!ok)
        return reader.fail(QStringLiteral("идентификатор комплекса \"%1\" не является целым числом")
                               .arg(attributes.value(QLatin1String("uid")).toString()));
    data.complexUid = uid;
    return true;
}

} // namespace CoConfig
