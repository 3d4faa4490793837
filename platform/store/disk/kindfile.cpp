#include "kindfile.h"

#include "complexinfofile.h"
#include "configwriter.h"
#include "fastdocument.h"
#include "recorddocumentreader.h"
#include "recordlistfile.h"
#include "recordmapfile.h"

#include <QSet>
#include <pugixml.hpp>
#include "textwriter.h"

#include <memory>
#include <vector>

namespace CoConfig {

KindFile::KindFile(const char* path, int bit, int uidType, const char* rootName)
    : m_path(QString::fromLatin1(path)), m_bit(bit), m_uidType(uidType), m_rootName(QString::fromLatin1(rootName))
{
}

KindFile::~KindFile() = default;

bool KindFile::write(Xml::TextWriter& writer, const ComplexData& data, QString* error) const
{
    writer.writeStartDocument();
    writer.writeStartElement(m_rootName);
    writeRootAttributes(writer, data);
    if (!writeRecords(writer, data, error))
        return false;
    writer.writeEndElement();
    writer.writeEndDocument();
    return true;
}

bool KindFile::read(RecordDocumentReader& reader, ComplexData& data) const
{
    if (!reader.readRoot(m_rootName) || !readRootAttributes(reader, data))
        return false;
    while (reader.nextElement()) {
        if (!readElement(reader, data))
            return false;
    }
    return !reader.hasError();
}

bool KindFile::readParsed(char* bytes, qsizetype size, ComplexData& data) const
{
    return Xml::FastDocument::readChildren(bytes, size, RecordDocumentReader::FileLimits, m_rootName.toStdString(),
                                           [&](const pugi::xml_node& element) {
                                               return element.type() == pugi::node_element
                                                   && readParsedElement(element, data);
                                           });
}

namespace {

// Accessors of each kind's member, for the file table below.
#define ORVANE_MEMBER(Name, Member)                                      \
    auto& Name(ComplexData& data) { return data.Member; }

ORVANE_MEMBER(antennas, antennas)
ORVANE_MEMBER(dataStorages, dataStorages)
ORVANE_MEMBER(pelengators, pelengators)
ORVANE_MEMBER(armUnions, armUnions)
ORVANE_MEMBER(pelengatorUnions, pelengatorUnions)
ORVANE_MEMBER(operators, operators)
ORVANE_MEMBER(taskSetLinks, taskSetLinks)
ORVANE_MEMBER(taskTransferLinks, taskTransferLinks)
ORVANE_MEMBER(reportLinks, reportLinks)
ORVANE_MEMBER(dravikLinks, dravikLinks)
ORVANE_MEMBER(racks, racks)
ORVANE_MEMBER(computers, computers)
ORVANE_MEMBER(ups, power.ups)
ORVANE_MEMBER(pdus, power.pdus)
ORVANE_MEMBER(openSensors, power.openSensors)
ORVANE_MEMBER(powerSockets, power.powerSockets)
ORVANE_MEMBER(receivers, receivers.receivers)
ORVANE_MEMBER(channelServers, receivers.channelServers)
ORVANE_MEMBER(antennaServers, receivers.antennaServers)
ORVANE_MEMBER(antennaPools, receivers.antennaPools)
ORVANE_MEMBER(antennaControls, receivers.antennaControls)
ORVANE_MEMBER(channels, receivers.channels)
ORVANE_MEMBER(channelParams, receivers.channelParams)
#undef ORVANE_MEMBER

template <typename Map>
std::unique_ptr<KindFile> mapFile(const char* path, int bit, int uidType, const char* root, Map& (*get)(ComplexData&))
{
    return std::make_unique<RecordMapFile<Map>>(path, bit, uidType, root, get);
}

std::unique_ptr<KindFile> linkFile(const char* path, const char* root, QList<InteractionLink>& (*get)(ComplexData&))
{
    return std::make_unique<RecordListFile<InteractionLink>>(path, ObjectAll, root, get);
}

struct Table
{
    std::vector<std::unique_ptr<KindFile>> owned;
    QList<const KindFile*> files;
    QSet<QString> elementNames;

    Table()
    {
        owned.push_back(std::make_unique<ComplexInfoFile>());
        owned.push_back(mapFile("racks/racks.xml", ObjectRacks, ObjectRacks, "Racks", &racks));
        owned.push_back(mapFile("arms/computers.xml", ObjectComputers, ObjectComputers, "Computers", &computers));
        owned.push_back(mapFile("power/ups.xml", ObjectUps, ObjectUps, "UpsUnits", &ups));
        owned.push_back(mapFile("power/pdus.xml", ObjectPdus, ObjectPdus, "Pdus", &pdus));
        owned.push_back(mapFile("power/opensensors.xml", ObjectOpenSensors, ObjectOpenSensors, "OpenSensors", &openSensors));
        owned.push_back(mapFile("power/powersockets.xml", ObjectPowerSockets, ObjectPowerSockets, "PowerSockets", &powerSockets));
        owned.push_back(mapFile("receivers/receivers.xml", ObjectReceivers, ObjectReceivers, "Receivers", &receivers));
        owned.push_back(mapFile("channelservers/channelservers.xml", ObjectChannelServers, ObjectChannelServers,
                                "ChannelServers", &channelServers));
        owned.push_back(mapFile("channels/channelparams.xml", ObjectChannels, 0, "ChannelParams", &channelParams));
        owned.push_back(mapFile("channels/channels.xml", ObjectChannels, ObjectChannels, "Channels", &channels));
        owned.push_back(mapFile("antennas/antennas.xml", ObjectAntennas, ObjectAntennas, "Antennas", &antennas));
        owned.push_back(mapFile("antennapools/antennapools.xml", ObjectAntennaPools, ObjectAntennaPools,
                                "AntennaPools", &antennaPools));
        owned.push_back(mapFile("antennaservers/antennaservers.xml", ObjectAntennaServers, ObjectAntennaServers,
                                "AntennaServers", &antennaServers));
        owned.push_back(mapFile("antennacontrols/antennacontrols.xml", ObjectAntennaControls, ObjectAntennaControls,
                                "AntennaControls", &antennaControls));
        owned.push_back(mapFile("armunions/armunions.xml", ObjectArmUnions, ObjectArmUnions, "ArmUnions", &armUnions));
        owned.push_back(mapFile("operators/operators.xml", ObjectOperators, ObjectOperators, "Operators", &operators));
        owned.push_back(mapFile("pelengators/pelengators.xml", ObjectPelengators, ObjectPelengators, "Pelengators",
                                &pelengators));
        owned.push_back(mapFile("pelengatorunions/pelengatorunions.xml", ObjectPelengators, 0, "PelengatorUnions",
                                &pelengatorUnions));
        owned.push_back(mapFile("datastorages/datastorages.xml", ObjectAll, 0, "DataStorages", &dataStorages));
        owned.push_back(linkFile("tasksetlinks/links.xml", "TaskSetLinks", &taskSetLinks));
        owned.push_back(linkFile("tasktransferlinks/links.xml", "TaskTransferLinks", &taskTransferLinks));
        owned.push_back(linkFile("reportlinks/links.xml", "ReportLinks", &reportLinks));
        owned.push_back(linkFile("draviklinks/links.xml", "DravikLinks", &dravikLinks));
        for (const auto& file : owned)
            files.append(file.get());
#define ORVANE_ELEMENT_NAME(Type, Name) elementNames.insert(QStringLiteral(Name));
        ORVANE_XML_RECORD_TYPES(ORVANE_ELEMENT_NAME)
#undef ORVANE_ELEMENT_NAME
    }
};

const Table& table()
{
    static const Table instance;
    return instance;
}

} // namespace

const QList<const KindFile*>& KindFile::all()
{
    return table().files;
}

const KindFile* KindFile::forUidType(int type)
{
    if (type == 0)
        return nullptr;
    for (const KindFile* file : table().files) {
        if (file->uidType() == type)
            return file;
    }
    return nullptr;
}

bool KindFile::isRecordElementName(const QString& name)
{
    return table().elementNames.contains(name);
}

} // namespace CoConfig
