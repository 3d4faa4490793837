#pragma once

#include "complexdata.h"

#include <QList>

#include <climits>
#include <QString>

namespace Xml {
class TextWriter;
}

namespace pugi {
class xml_node;
}

namespace CoConfig {

class RecordDocumentReader;

// One file of the configuration directory holding one kind of record.
//
// Which ComplexObjectType bit selects which file (for read and write); ObjectAll selects all:
//   complex/complex.xml                    complex uid and descriptions     ObjectAll only
//   datastorages/datastorages.xml          data storages                    ObjectAll only
//   tasksetlinks/, tasktransferlinks/,
//   reportlinks/, draviklinks/ links.xml   links                            ObjectAll only
//   arms/computers.xml                     computers with registrations     ObjectComputers
//   channels/channels.xml                  channels                         ObjectChannels
//   channels/channelparams.xml             channel parameter sets           ObjectChannels
//   antennas/antennas.xml                  antennas                         ObjectAntennas
//   pelengators/pelengators.xml            direction finders                ObjectPelengators
//   pelengatorunions/pelengatorunions.xml  direction-finder unions          ObjectPelengators
//   armunions/armunions.xml                workstation unions               ObjectArmUnions
//   operators/operators.xml                operators                        ObjectOperators
//   racks/racks.xml                        racks                            ObjectRacks
//   power/ups.xml, power/pdus.xml,
//   power/opensensors.xml,
//   power/powersockets.xml                 power equipment, one bit each    ObjectUps ... ObjectPowerSockets
//   receivers/receivers.xml                receivers                        ObjectReceivers
//   channelservers/channelservers.xml      channel servers                  ObjectChannelServers
//   antennaservers/antennaservers.xml      antenna servers                  ObjectAntennaServers
//   antennapools/antennapools.xml          antenna pools                    ObjectAntennaPools
//   antennacontrols/antennacontrols.xml    antenna controls                 ObjectAntennaControls
class KindFile
{
public:
    KindFile(const char* path, int bit, int uidType, const char* rootName);
    virtual ~KindFile();

    QString path() const { return m_path; }  // relative to the configuration directory
    int bit() const { return m_bit; }         // the ComplexObjectType bit that selects it
    int uidType() const { return m_uidType; } // the bit generateObjectUid answers from it; 0 for none
    QString rootName() const { return m_rootName; }

    bool selectedBy(int types) const { return (types & ObjectAll) || (types & m_bit); }

    // Writes the whole document; false (with the reason) when a record cannot be stored
    // so that it reads back the same.
    bool write(Xml::TextWriter& writer, const ComplexData& data, QString* error) const;
    // Reads the document into the kind's members of data, which start empty.
    bool read(RecordDocumentReader& reader, ComplexData& data) const;
    // The same from the file's bytes (size of them at bytes) when they are of the store's own
    // form (Xml::FastDocument), parsed in place; false, with the members left partly filled, for
    // anything else: the caller clears them and reads the file as a stream, which says what is wrong.
    virtual bool readParsed(char* bytes, qsizetype size, ComplexData& data) const;

    // Moves the kind's members from one data set to another.
    virtual void take(ComplexData& into, ComplexData& from) const = 0;
    virtual void clear(ComplexData& data) const = 0;
    // Copies the kind's members, sharing them until either side is changed through a mutable
    // accessor; whether they are still shared (so certainly equal).
    virtual void copy(ComplexData& into, const ComplexData& from) const = 0;
    virtual bool shared(const ComplexData& a, const ComplexData& b) const = 0;
    // Whether both hold records that are written alike (false when unsure: the caller compares
    // them as written).
    virtual bool equal(const ComplexData& a, const ComplexData& b) const = 0;
    // Whether both would be written as the same bytes (false when a record cannot be written);
    // records are written out to compare only where their equality cannot tell.
    virtual bool writtenAlike(const ComplexData& a, const ComplexData& b) const = 0;

    // For uid generation: the largest uid held (INT_MIN when none) and whether one is held.
    virtual qint64 lastUid(const ComplexData&) const { return INT_MIN; }
    virtual bool holdsUid(const ComplexData&, int) const { return false; }

    static const QList<const KindFile*>& all();
    static const KindFile* forUidType(int type);
    static bool isRecordElementName(const QString& name);

protected:
    virtual void writeRootAttributes(Xml::TextWriter&, const ComplexData&) const {}
    virtual bool readRootAttributes(RecordDocumentReader&, ComplexData&) const { return true; }
    virtual bool writeRecords(Xml::TextWriter& writer, const ComplexData& data, QString* error) const = 0;
    // Reads one child element of the root: a record of the kind, or an element skipped.
    virtual bool readElement(RecordDocumentReader& reader, ComplexData& data) const = 0;
    virtual bool readParsedElement(const pugi::xml_node& element, ComplexData& data) const = 0;

private:
    QString m_path;
    int m_bit;
    int m_uidType;
    QString m_rootName;
};

} // namespace CoConfig
