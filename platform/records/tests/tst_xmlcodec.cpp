#include "configreader.h"
#include "configwriter.h"
#include "fastdocument.h"
#include "foreignparts.h"
#include "xmlrecordfields.h"

#include <QRandomGenerator>
#include <QTest>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "textwriter.h"
#include <pugixml.hpp>

#include <cmath>
#include <functional>
#include <limits>

using namespace CoConfig;

namespace {

constexpr int IntMin = std::numeric_limits<int>::min();
constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int LargeList = 10000;

// Text that XML has to escape, with Russian letters and spaces at both ends.
QString escaped(const char* tag)
{
    return QString::fromUtf8("  «%1» <a href=\"x\">&amp; 'кавычки'</a>\nвторая\tстрока\r\n  ").arg(QLatin1String(tag));
}

// Text that XML 1.0 cannot carry at all: control characters, an unpaired surrogate, U+FFFF.
QString unwritable(const char* tag)
{
    return QString::fromUtf8("%1 \x01\x1b конец 😀").arg(QLatin1String(tag)) + QChar(0xD800) + QChar(0xFFFF);
}

QList<int> intList(int size, int first)
{
    QList<int> list;
    list.reserve(size);
    for (int i = 0; i < size; ++i)
        list.append(first + i * 7);
    list.first() = first < 0 ? IntMin : -1;
    list.last() = IntMax;
    return list;
}

// A record of each type with every member away from its default.
template <typename T>
T sample();

template <>
Rack sample<Rack>()
{
    Rack r;
    r.uid.value = IntMax;
    r.name = escaped("стойка");
    r.shortName = unwritable("С1");
    return r;
}

template <>
Computer sample<Computer>()
{
    Computer c;
    c.uid.value = 17;
    c.rack.value = 0;
    c.name = escaped("компьютер");
    c.ipAddress = QStringLiteral("192.168.10.254");
    c.flags = ComputerFlags(Computers::Flags.cbegin(), Computers::Flags.cend());
    c.flags.insert(ComputerFlag::Unknown);
    c.unknownFlags = {QStringLiteral("role_of_tomorrow"), QString::fromUtf8("роль-2030")};
    for (int i = 0; i < 1000; ++i)
        c.registrations.insert(QStringLiteral("user%1").arg(i), i - 1);
    c.registrations.insert(QString::fromUtf8("иванов & <петров>"), IntMax);
    c.registrations.insert(unwritable("login"), 5);
    c.registrations.insert(QString(), 6);
    return c;
}

template <>
Ups sample<Ups>()
{
    Ups u;
    u.uid.value = 3;
    u.rack.value = 4;
    u.name = escaped("ИБП");
    u.ipAddress = QStringLiteral("10.0.0.1");
    return u;
}

template <>
Pdu sample<Pdu>()
{
    Pdu p;
    p.uid.value = 5;
    p.rack.value = IntMax;
    p.name = escaped("БРП");
    p.ipAddress = QStringLiteral("::1");
    return p;
}

template <>
OpenSensor sample<OpenSensor>()
{
    OpenSensor s;
    s.uid.value = 8;
    s.ups.value = 3;
    s.index = IntMin;
    s.controlledRack.value = 9;
    return s;
}

template <>
PowerSocket sample<PowerSocket>()
{
    PowerSocket s;
    s.uid.value = 11;
    s.pdu.value = 5;
    s.index = -5;
    s.object = {12345, int(ComponentType::Receiver)};
    return s;
}

template <>
Receiver sample<Receiver>()
{
    Receiver r;
    r.uid.value = 21;
    r.rack.value = 2;
    r.name = escaped("приёмник");
    return r;
}

template <>
ChannelServer sample<ChannelServer>()
{
    ChannelServer s;
    s.uid.value = 31;
    s.computer.value = 17;
    s.x64 = true;
    s.board = -3;
    s.name = escaped("сервер");
    s.controlPort = 65535;
    s.signalPort = IntMax;
    s.dacPort = IntMin;
    return s;
}

template <>
Channel sample<Channel>()
{
    Channel c;
    c.uid.value = 41;
    c.name = escaped("канал");
    c.cassetteType.value = 51;
    c.module = 4;
    c.fixed = true;
    c.hidden = true;
    c.multi = true;
    c.scale = -7;
    c.receiver.value = 21;
    c.cassette = 2;
    c.channelServer.value = 31;
    c.serverIndex = 9;
    c.antennaControl.value = 81;
    return c;
}

template <>
ChannelParam sample<ChannelParam>()
{
    ChannelParam p;
    p.uid.value = 51;
    p.name = escaped("кассета");
    for (int i = 0; i < LargeList; ++i)
        p.modes.append(QStringLiteral("режим %1").arg(i));
    p.modes[0] = QString();
    p.modes[1] = escaped("режим");
    p.modes[2] = unwritable("режим");
    p.filters = intList(LargeList, 3000);
    p.attenuations = {-30, 0, 10, IntMin};
    return p;
}

template <>
AntennaPool sample<AntennaPool>()
{
    AntennaPool p;
    p.uid.value = 61;
    p.name = escaped("пул");
    p.antennaUids = intList(LargeList, 0);
    return p;
}

template <>
AntennaServer sample<AntennaServer>()
{
    AntennaServer s;
    s.uid.value = 71;
    s.computer.value = 17;
    s.name = escaped("сервер антенн");
    s.controlPort = 1;
    s.antennaPool.value = 61;
    return s;
}

template <>
Common::Antenna sample<Common::Antenna>()
{
    Common::Antenna a;
    a.type = 2;
    a.azimuth = 359.99997f;
    a.diagram = IntMin;
    a.uid = IntMax;
    a.state = true;
    return a;
}

template <>
AntennaControl sample<AntennaControl>()
{
    AntennaControl c;
    c.uid.value = 81;
    c.antennaServer.value = 71;
    c.rpu = 4;
    c.group = escaped("группа");
    c.antenna = sample<Common::Antenna>();
    c.antenna.azimuth = std::numeric_limits<float>::denorm_min();
    return c;
}

template <>
ComplexInfo sample<ComplexInfo>()
{
    return {0, escaped("комплекс"), unwritable("описание")};
}

template <>
ArmUnion sample<ArmUnion>()
{
    return {91, escaped("объединение"), intList(LargeList, 1), {-1, 0, IntMax}};
}

template <>
Pelengator sample<Pelengator>()
{
    Pelengator p;
    p.uid = 101;
    p.linkUid = 102;
    p.name = escaped("пеленгатор");
    p.capabilities = std::numeric_limits<unsigned int>::max();
    p.bandStart = IntMin;
    p.bandWidth = IntMax;
    p.latitude = 55.755826123456789;
    p.longitude = -37.617299876543211e-300;
    p.isVirtual = true;
    p.marked = true;
    for (int i = 0; i < 256; ++i)
        p.payload.append(char(i));
    return p;
}

template <>
PelengatorUnion sample<PelengatorUnion>()
{
    return {111, escaped("группа пеленгаторов"), {101, -1, 0}};
}

template <>
InteractionLink sample<InteractionLink>()
{
    return {0, IntMax};
}

template <>
Common::Operator sample<Common::Operator>()
{
    return {121, escaped("Иван"), escaped("Иванов"), unwritable("Иванович"), QStringLiteral("майор"), QString::fromUtf8("старший оператор\n")};
}

template <>
DataStore::DataStorage sample<DataStore::DataStorage>()
{
    return {131, escaped("хранилище"), QString::fromUtf8("/var/data/хранилище 1/"), 17};
}

template <typename Writer, typename T>
bool writeWith(Writer& writer, const T& record)
{
    writer.writeStartDocument();
    writer.writeStartElement(QString::fromLatin1(Xml::elementName<T>()));
    Xml::ConfigWriter::write(writer, record);
    writer.writeEndElement();
    writer.writeEndDocument();
    return !writer.hasError();
}

// As the store writes it; every document is also written by QXmlStreamWriter, whose bytes the
// store's writer must give.
template <typename T>
QByteArray writeDocument(const T& record, QString* error = nullptr)
{
    QByteArray bytes;
    Xml::TextWriter writer(&bytes, 4);
    const bool written = writeWith(writer, record);
    QByteArray reference;
    QXmlStreamWriter qtWriter(&reference);
    qtWriter.setAutoFormatting(true);
    if (writeWith(qtWriter, record) && written && bytes != reference) {
        qsizetype at = 0;
        while (at < bytes.size() && at < reference.size() && bytes[at] == reference[at])
            ++at;
        QTest::qFail(qPrintable(QStringLiteral("the writers differ at byte %1: \"%2\" against \"%3\"")
                                    .arg(at)
                                    .arg(QString::fromUtf8(bytes.mid(at - 20, 60)), QString::fromUtf8(reference.mid(at - 20, 60)))),
                     __FILE__, __LINE__);
    }
    if (!written && error)
        *error = QStringLiteral("writer error");
    return bytes;
}

template <typename T>
QString readStream(const QByteArray& bytes, T& record)
{
    QXmlStreamReader reader(bytes);
    if (!reader.readNextStartElement())
        return QStringLiteral("no element");
    Xml::ConfigReader::read(reader, record);
    if (reader.hasError())
        return reader.errorString();
    if (!reader.isEndElement() || reader.name() != QLatin1String(Xml::elementName<T>()))
        return QStringLiteral("the reader did not stop on the record's end element");
    return {};
}

// Reads the document's element into record; returns an empty string or what went wrong. The
// parsed document gives the same, or declines (the store then reads the stream) where the record
// keeps child elements this version does not know.
template <typename T>
QString readDocument(const QByteArray& bytes, T& record)
{
    T parsed = record;
    const QString error = readStream(bytes, record);
    // The record as a child of a root, as the store reads it.
    const qsizetype declared = bytes.startsWith("<?xml") ? bytes.indexOf("?>") + 2 : 0;
    QByteArray file = "<R>" + bytes.mid(declared) + "</R>";
    int records = 0;
    const bool taken = Xml::FastDocument::readChildren(file, {256, qint64(1) << 28}, "R", [&](const pugi::xml_node& node) {
                           return ++records == 1 && Xml::ConfigReader::read(node, parsed);
                       }) && records == 1;
    if (!error.isEmpty())
        return taken ? QStringLiteral("the parsed document is taken, the stream refused: ") + error : error;
    if (!taken && record.unknown.elements().isEmpty())
        return QStringLiteral("the parsed document was declined:\n") + QString::fromUtf8(bytes.left(2000));
    if (taken && writeDocument(parsed) != writeDocument(record)) // as bytes: NaN is not equal to itself
        return QStringLiteral("the parsed document reads differently:\n") + QString::fromUtf8(bytes.left(2000));
    return {};
}

// Random values of every member type, extremes and awkward texts among them.
class RandomValues
{
public:
    explicit RandomValues(quint32 seed) : m_random(seed) {}

    void fill(int& value)
    {
        static constexpr int Picks[] = {IntMin, IntMin + 1, -3, -2, -1, 0, 1, IntMax - 1, IntMax};
        value = m_random.bounded(3) ? Picks[m_random.bounded(int(std::size(Picks)))] : int(m_random.generate());
    }
    void fill(unsigned int& value) { value = m_random.bounded(3) ? (m_random.bounded(2) ? 0u : ~0u) : m_random.generate(); }
    void fill(bool& value) { value = m_random.bounded(2); }
    template <typename F>
    void fillFloat(F& value)
    {
        using Limits = std::numeric_limits<F>;
        const F picks[] = {F(0), -F(0), Limits::min(), Limits::denorm_min(), -Limits::max(), Limits::max(),
                           Limits::infinity(), -Limits::infinity(), Limits::quiet_NaN(), Limits::epsilon(), F(0.1)};
        value = m_random.bounded(2) ? picks[m_random.bounded(int(std::size(picks)))]
                                    : F((m_random.generateDouble() - 0.5) * std::pow(10.0, m_random.bounded(-30, 30)));
    }
    void fill(float& value) { fillFloat(value); }
    void fill(double& value) { fillFloat(value); }
    void fill(QString& value)
    {
        switch (m_random.bounded(6)) {
        case 0:
            value.clear();
            break;
        case 1: // control characters, surrogates alone and in pairs, non-characters
            value.clear();
            for (int i = m_random.bounded(1, 20); i > 0; --i)
                value.append(QChar(char16_t(m_random.bounded(2) ? m_random.bounded(0x20) : m_random.bounded(0xD7F0, 0x10000))));
            break;
        case 2: // long
            value = QString(m_random.bounded(10000, 70000), QChar(u'я'));
            break;
        case 3:
            value = escaped("текст");
            break;
        default:
            value.clear();
            for (int i = m_random.bounded(40); i > 0; --i)
                value.append(QChar(char16_t(m_random.bounded(0x20, 0x800))));
        }
    }
    void fill(QByteArray& value)
    {
        value.resize(m_random.bounded(3) ? m_random.bounded(64) : 0);
        for (char& c : value)
            c = char(m_random.bounded(256));
    }
    void fill(QStringList& values)
    {
        values.resize(m_random.bounded(4));
        for (QString& value : values)
            fill(value);
    }
    void fill(QList<int>& values)
    {
        values.resize(m_random.bounded(6));
        for (int& value : values)
            fill(value);
    }
    void fill(ComputerFlags& flags)
    {
        flags.clear();
        for (ComputerFlag flag : Computers::Flags) {
            if (m_random.bounded(2))
                flags.insert(flag);
        }
    }
    void fill(Registrations& registrations)
    {
        registrations.clear();
        for (int i = m_random.bounded(4); i > 0; --i) {
            QString login;
            int uid = 0;
            fill(login);
            fill(uid);
            registrations.insert(login, uid);
        }
    }
    template <int N>
    void fill(ComponentUid<N>& uid) { fill(uid.value); }
    void fill(ConfigUid& uid)
    {
        fill(uid.value);
        fill(uid.type);
    }
    template <typename T, typename = std::enable_if_t<Xml::Fields::HasFields<T>::value>>
    void fill(T& record)
    {
        std::apply([&](const auto&... f) { (fill(record.*f.member), ...); }, Xml::Fields::fields(Xml::Fields::Tag<T>{}));
    }

private:
    QRandomGenerator m_random;
};

// The checks that hold for every record type, wrapped so that a data table can list the types.
struct TypeChecks
{
    std::function<QString()> roundTrip;
    std::function<QString()> emptyElementKeepsMembers;
    std::function<QString()> randomValues;
    std::function<QString()> foreignParts;
};

template <typename T>
TypeChecks checksFor()
{
    TypeChecks checks;
    checks.roundTrip = []() -> QString {
        const T original = sample<T>();
        if (original == T())
            return QStringLiteral("the sample equals a default record");
        QString error;
        const QByteArray bytes = writeDocument(original, &error);
        if (!error.isEmpty())
            return error;
        T read;
        error = readDocument(bytes, read);
        if (!error.isEmpty())
            return error;
        if (!(read == original))
            return QStringLiteral("read back differs:\n") + QString::fromUtf8(bytes.left(2000));
        // Defaults are written too: they overwrite whatever the target held.
        T overwritten = original;
        error = readDocument(writeDocument(T()), overwritten);
        if (!error.isEmpty())
            return error;
        if (!(overwritten == T()))
            return QStringLiteral("a default record read over the sample differs from a default record");
        return QString();
    };
    checks.emptyElementKeepsMembers = []() -> QString {
        const T original = sample<T>();
        T record = original;
        const QString element = QLatin1String(Xml::elementName<T>());
        QString error = readDocument(QStringLiteral("<%1/>").arg(element).toUtf8(), record);
        if (error.isEmpty() && !(record == original))
            error = QStringLiteral("an empty element changed the record");
        return error;
    };
    // What this version does not know is kept as read, beside the known members, and written back;
    // reading what was written gives the same record and writing it the same bytes.
    checks.foreignParts = []() -> QString {
        const T original = sample<T>();
        const QByteArray bytes = ForeignParts::addTo(writeDocument(original), Xml::elementName<T>());
        T read;
        QString error = readDocument(bytes, read);
        if (!error.isEmpty())
            return error;
        if (read.unknown != ForeignParts::parts())
            return QStringLiteral("the foreign parts were not kept:\n") + QString::fromUtf8(bytes);
        T known = read;
        known.unknown = {};
        if (!(known == original))
            return QStringLiteral("the known members changed");
        const QByteArray written = writeDocument(read);
        if (!ForeignParts::heldBy(written))
            return QStringLiteral("the foreign parts were not written:\n") + QString::fromUtf8(written);
        T again;
        error = readDocument(written, again);
        if (error.isEmpty() && (!(again == read) || writeDocument(again) != written))
            error = QStringLiteral("written foreign parts do not read back the same");
        return error;
    };
    // What the writer does not refuse reads back the same (the same bytes once written again,
    // which holds for NaN too); what it refuses, the reader would have refused.
    checks.randomValues = []() -> QString {
        RandomValues random(20261208);
        int refused = 0;
        for (int i = 0; i < 200; ++i) {
            T record;
            random.fill(record);
            const QByteArray bytes = writeDocument(record);
            T read;
            const QString error = readDocument(bytes, read);
            const QString refusal = Xml::ConfigWriter::refusal(record);
            if (!refusal.isEmpty()) {
                ++refused;
                if (error.isEmpty())
                    return QStringLiteral("refused (%1) but the reader takes it:\n%2").arg(refusal, QString::fromUtf8(bytes.left(2000)));
                continue;
            }
            if (!error.isEmpty())
                return QStringLiteral("written, then refused by the reader: %1\n%2").arg(error, QString::fromUtf8(bytes.left(2000)));
            if (writeDocument(read) != bytes)
                return QStringLiteral("read back differs:\n") + QString::fromUtf8(bytes.left(2000));
        }
        return QString();
    };
    return checks;
}

// Reads the first element into the sample of the type it names. True when the sample is unchanged.
bool readIntoSample(QXmlStreamReader& reader)
{
#define ORVANE_READ_SAMPLE(Type, Name)                     \
    if (reader.name() == QLatin1String(Name)) {            \
        Type record = sample<Type>();                      \
        const Type before = record;                        \
        Xml::ConfigReader::read(reader, record);           \
        return record == before;                           \
    }
    ORVANE_XML_RECORD_TYPES(ORVANE_READ_SAMPLE)
#undef ORVANE_READ_SAMPLE
    return false;
}

} // namespace

Q_DECLARE_METATYPE(TypeChecks)

class TestXmlCodec : public QObject
{
    Q_OBJECT

private slots:
    void everyType_data();
    void roundTrip_data() { everyType_data(); }
    void roundTrip();
    void emptyElementKeepsMembers_data() { everyType_data(); }
    void emptyElementKeepsMembers();
    void randomValuesReadBackOrAreRefused_data() { everyType_data(); }
    void randomValuesReadBackOrAreRefused();
    void foreignPartsAreKept_data() { everyType_data(); }
    void foreignPartsAreKept();
    void unknownContentIsSkipped();
    void badInput_data();
    void badInput();
    void readerNotOnStartElement();
    void everyTruncationFailsCleanly();
    void booleanForms_data();
    void booleanForms();
    void listTextForms();
    void unknownFlagTokensAreKept();
    void numbersInShortestForm();
    void longValuesAcrossPieces();
    void namesAndValuesAsTheStreamWriterWrites_data();
    void namesAndValuesAsTheStreamWriterWrites();
    void bytesDoNotDependOnInsertionOrder();
    void registrationsAsAHash();
    void computerFlagTokens();
};

void TestXmlCodec::everyType_data()
{
    QTest::addColumn<TypeChecks>("checks");
#define ORVANE_ADD_ROW(Type, Name) QTest::newRow(Name) << checksFor<Type>();
    ORVANE_XML_RECORD_TYPES(ORVANE_ADD_ROW)
#undef ORVANE_ADD_ROW
}

void TestXmlCodec::roundTrip()
{
    QFETCH(TypeChecks, checks);
    const QString error = checks.roundTrip();
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestXmlCodec::randomValuesReadBackOrAreRefused()
{
    QFETCH(TypeChecks, checks);
    const QString error = checks.randomValues();
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestXmlCodec::emptyElementKeepsMembers()
{
    QFETCH(TypeChecks, checks);
    const QString error = checks.emptyElementKeepsMembers();
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestXmlCodec::foreignPartsAreKept()
{
    QFETCH(TypeChecks, checks);
    const QString error = checks.foreignParts();
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestXmlCodec::unknownContentIsSkipped()
{
    const QByteArray document = R"(<Racks>
        <Rack uid="1" future="x" name="первая">
            <future><deep><Rack uid="9" name="вложенная"/></deep>text</future>
            <more/>
        </Rack>
        <Computer uid="2" futureFlag="true">
            <registrations>
                <future/>
                <item login="ivanov" operator="7" future="1"><extra/></item>
            </registrations>
            <flags>workstation</flags>
            <notes>anything</notes>
        </Computer>
        <Rack uid="3" name="вторая"/>
    </Racks>)";
    QXmlStreamReader reader(document);
    QVERIFY(reader.readNextStartElement());

    QVERIFY(reader.readNextStartElement());
    Rack first;
    Xml::ConfigReader::read(reader, first);
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(first.uid.value, 1);
    QCOMPARE(first.name, QString::fromUtf8("первая"));

    QVERIFY(reader.readNextStartElement());
    Computer computer;
    Xml::ConfigReader::read(reader, computer);
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(computer.uid.value, 2);
    QCOMPARE(computer.registrations, (Registrations{{QStringLiteral("ivanov"), 7}}));
    QCOMPARE(computer.flags, ComputerFlags{ComputerFlag::Workstation});

    QVERIFY(reader.readNextStartElement());
    QVERIFY(reader.name() == QLatin1String("Rack"));
    Rack second;
    Xml::ConfigReader::read(reader, second);
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    QCOMPARE(second.uid.value, 3);
    QCOMPARE(second.name, QString::fromUtf8("вторая"));
    QVERIFY(!reader.readNextStartElement());
    QVERIFY(!reader.hasError());
}

void TestXmlCodec::badInput_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QStringList>("inMessage"); // empty: only an error is expected

    const QStringList none;
    QTest::newRow("letters for a uid") << R"(<Rack uid="abc" name="x"/>)" << QStringList{"Rack", "uid", "\"abc\""};
    QTest::newRow("uid beyond int") << R"(<Rack uid="99999999999"/>)" << QStringList{"uid", "99999999999"};
    QTest::newRow("int beyond int") << R"(<OpenSensor index="-2147483649"/>)" << QStringList{"index", "-2147483649"};
    QTest::newRow("uid below -1") << R"(<Operator uid="-2" name="x"/>)" << QStringList{"Operator", "uid", "-2"};
    QTest::newRow("reference below -1") << R"(<Ups rack="-3"/>)" << QStringList{"rack", "-3"};
    QTest::newRow("leading space") << R"(<OpenSensor index=" 5"/>)" << QStringList{"index"};
    QTest::newRow("plus sign") << R"(<OpenSensor index="+5"/>)" << QStringList{"index", "+5"};
    QTest::newRow("fraction for an int") << R"(<OpenSensor index="1.5"/>)" << QStringList{"index", "1.5"};
    QTest::newRow("empty int") << R"(<ChannelServer board=""/>)" << QStringList{"ChannelServer", "board"};
    QTest::newRow("non-ASCII digits") << QString::fromUtf8(R"(<ChannelServer board="١٢"/>)") << QStringList{"board"};
    QTest::newRow("boolean word") << R"(<ChannelServer x64="yes"/>)" << QStringList{"x64", "yes"};
    QTest::newRow("float beyond float") << R"(<Antenna azimuth="1e99"/>)" << QStringList{"Antenna", "azimuth"};
    QTest::newRow("double as text") << R"(<Pelengator latitude="north"/>)" << QStringList{"latitude", "north"};
    QTest::newRow("negative unsigned") << R"(<Pelengator capabilities="-1"/>)" << QStringList{"capabilities"};
    QTest::newRow("unsigned beyond range") << R"(<Pelengator capabilities="4294967296"/>)" << QStringList{"capabilities"};
    QTest::newRow("bad base64") << R"(<Pelengator payload="@@@"/>)" << QStringList{"payload", "@@@"};
    QTest::newRow("reference type below -1") << R"(<PowerSocket object="3" objectType="-7"/>)"
                                             << QStringList{"objectType", "-7"};
    QTest::newRow("list item after good attributes")
        << R"(<ArmUnion uid="5" name="new"><armUids>1 x 3</armUids></ArmUnion>)" << QStringList{"ArmUnion", "armUids", "\"x\""};
    QTest::newRow("uid list below -1") << R"(<AntennaPool uid="5"><antennaUids>1 -5</antennaUids></AntennaPool>)"
                                       << QStringList{"antennaUids", "-5"};
    QTest::newRow("nested record") << R"(<AntennaControl rpu="1"><antenna azimuth="abc"/></AntennaControl>)"
                                   << QStringList{"Antenna", "azimuth", "abc"};
    QTest::newRow("registration without login")
        << R"(<Computer uid="1"><registrations><item operator="1"/></registrations></Computer>)" << QStringList{"login"};
    QTest::newRow("registration without operator")
        << R"(<Computer uid="1"><registrations><item login="a"/></registrations></Computer>)" << QStringList{"operator"};
    QTest::newRow("registration operator")
        << R"(<Computer uid="1"><registrations><item login="a" operator="z"/></registrations></Computer>)"
        << QStringList{"operator", "z"};
    QTest::newRow("mode without value") << R"(<ChannelParam uid="1"><modes><item/></modes></ChannelParam>)"
                                        << QStringList{"value"};
    QTest::newRow("odd UTF-16 bytes") << R"(<Rack nameB64="QQ=="/>)" << QStringList{"nameB64", "QQ=="};
    QTest::newRow("huge value") << QStringLiteral("<Rack uid=\"%1\"/>").arg(QString(100000, u'7'))
                                << QStringList{"uid", "7777777"};
    QTest::newRow("truncated record") << R"(<Rack uid="1" name="a">)" << none;
    QTest::newRow("truncated list") << R"(<ArmUnion uid="1"><armUids>1 2)" << none;
    QTest::newRow("truncated items") << R"(<Computer uid="1"><registrations><item login="a" operator="1"/>)" << none;
    QTest::newRow("truncated nested record") << R"(<AntennaControl rpu="1"><antenna type="1">)" << none;
    QTest::newRow("mismatched end") << R"(<Rack uid="1"><x></Rack>)" << none;
    QTest::newRow("garbage after start") << "<Rack uid=\"1\"><<<&&&" << none;
}

void TestXmlCodec::badInput()
{
    QFETCH(QString, document);
    QFETCH(QStringList, inMessage);

    QXmlStreamReader reader(document);
    QVERIFY(reader.readNextStartElement());
    const bool unchanged = readIntoSample(reader);
    QVERIFY(reader.hasError());
    QVERIFY2(unchanged, "a record was half read");
    for (const QString& part : inMessage)
        QVERIFY2(reader.errorString().contains(part), qPrintable(reader.errorString()));
    QVERIFY2(reader.errorString().size() < 300, "the message quotes a value without bound");
}

void TestXmlCodec::readerNotOnStartElement()
{
    Rack rack = sample<Rack>();
    QXmlStreamReader reader(QByteArrayLiteral("<Rack uid=\"5\"/>"));
    Xml::ConfigReader::read(reader, rack); // before the first token
    QVERIFY(reader.hasError());
    QCOMPARE(rack, sample<Rack>());
}

void TestXmlCodec::everyTruncationFailsCleanly()
{
    Computer computer = sample<Computer>();
    computer.registrations = {{unwritable("a"), 1}, {QStringLiteral("b"), 2}};
    const QByteArray document = writeDocument(computer);
    const qsizetype complete = document.indexOf("</Computer>") + int(qstrlen("</Computer>"));

    for (qsizetype size = 0; size < complete; ++size) {
        QXmlStreamReader reader(document.left(size));
        Computer record = sample<Computer>();
        if (reader.readNextStartElement())
            Xml::ConfigReader::read(reader, record);
        QVERIFY2(reader.hasError(), qPrintable(QStringLiteral("no error at %1 bytes").arg(size)));
        QVERIFY2(record == sample<Computer>(), qPrintable(QStringLiteral("half read at %1 bytes").arg(size)));
    }
    Computer record;
    QCOMPARE(readDocument(document.left(complete), record), QString());
    QCOMPARE(record, computer);
}

void TestXmlCodec::booleanForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("value");
    QTest::newRow("true") << "true" << true;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("false") << "false" << false;
    QTest::newRow("0") << "0" << false;
}

void TestXmlCodec::booleanForms()
{
    QFETCH(QString, text);
    QFETCH(bool, value);
    ChannelServer server;
    server.x64 = !value;
    QCOMPARE(readDocument(QStringLiteral("<ChannelServer x64=\"%1\"/>").arg(text).toUtf8(), server), QString());
    QCOMPARE(server.x64, value);
}

void TestXmlCodec::listTextForms()
{
    // Hand-edited files may break lists over lines; an empty list element clears the list.
    ArmUnion armUnion = sample<ArmUnion>();
    const QByteArray document = "<ArmUnion><armUids>\n\t1  2\r\n3\n</armUids><antennaUids/></ArmUnion>";
    QCOMPARE(readDocument(document, armUnion), QString());
    QCOMPARE(armUnion.armUids, (QList<int>{1, 2, 3}));
    QVERIFY(armUnion.antennaUids.isEmpty());
}

// A newer version's flag survives a read and a write; only tokens that could never have been
// read are left out.
void TestXmlCodec::unknownFlagTokensAreKept()
{
    Computer computer;
    QCOMPARE(readDocument("<Computer><flags>role_of_tomorrow data_server\n unknown</flags></Computer>", computer),
             QString());
    QCOMPARE(computer.flags, (ComputerFlags{ComputerFlag::DataServer, ComputerFlag::Unknown}));
    QCOMPARE(computer.unknownFlags, QSet<QString>{QStringLiteral("role_of_tomorrow")});
    computer.unknownFlags += {QString(), QStringLiteral("two words"), QStringLiteral("bell\x07")};
    QVERIFY(writeDocument(computer).contains("<flags>unknown data_server role_of_tomorrow</flags>"));
}

// The writer escapes a long value a piece at a time: a pair of surrogates and an escape at the
// seam come out whole (writeDocument compares the bytes with QXmlStreamWriter's).
void TestXmlCodec::longValuesAcrossPieces()
{
    for (const QString& seam : {QStringLiteral("\U0001F600"), QStringLiteral("&\"<")}) {
        CoConfig::Rack rack;
        rack.uid = CoConfig::ComponentUid<0>(1);
        rack.name = QString(8191, u'я') + seam + QString(9000, u'x');
        CoConfig::Rack read;
        QCOMPARE(readDocument(writeDocument(rack), read), QString());
        QCOMPARE(read.name, rack.name);
    }
}

// Element and attribute names outside ASCII, values that need room or escapes, numbers at the
// ends of their range, empty and nested elements: the same bytes from both writers.
void TestXmlCodec::namesAndValuesAsTheStreamWriterWrites_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QString>("value");
    QTest::newRow("ascii") << "rack" << "name" << "a&b<c>\"d\"";
    QTest::newRow("cyrillic names") << "стойка" << "имя" << "значение";
    QTest::newRow("a name past the first character") << "rackЯ" << "nameЯ" << "";
    QTest::newRow("a long value") << "rack" << "имя" << QString(9000, u'ж') + QStringLiteral("\t\n\r");
}

void TestXmlCodec::namesAndValuesAsTheStreamWriterWrites()
{
    QFETCH(QString, element);
    QFETCH(QString, attribute);
    QFETCH(QString, value);
    const auto write = [&](auto& writer) {
        writer.writeStartDocument();
        writer.writeStartElement(element);
        writer.writeAttribute(attribute, value);
        writer.writeEmptyElement(element);
        writer.writeAttribute(attribute, value);
        writer.writeStartElement(attribute);
        writer.writeTextElement(element, value);
        writer.writeEndElement();
        writer.writeEndDocument();
    };
    QByteArray bytes;
    Xml::TextWriter writer(&bytes, 4);
    write(writer);
    writer.writeStartElement(element);
    writer.writeAttribute(attribute, std::numeric_limits<qint64>::min());
    writer.writeAttribute(element, std::numeric_limits<qint64>::max());
    writer.writeEndElement();
    QByteArray reference;
    QXmlStreamWriter qtWriter(&reference);
    qtWriter.setAutoFormatting(true);
    write(qtWriter);
    qtWriter.writeStartElement(element);
    qtWriter.writeAttribute(attribute, QString::number(std::numeric_limits<qint64>::min()));
    qtWriter.writeAttribute(element, QString::number(std::numeric_limits<qint64>::max()));
    qtWriter.writeEndElement();
    QVERIFY(!writer.hasError());
    QCOMPARE(bytes, reference);
}

void TestXmlCodec::numbersInShortestForm()
{
    AntennaControl control;
    control.antenna.azimuth = 0.1f;
    QVERIFY(writeDocument(control).contains("azimuth=\"0.1\""));
    Pelengator pelengator;
    pelengator.latitude = 0.1;
    pelengator.longitude = 1e-300;
    const QByteArray bytes = writeDocument(pelengator);
    QVERIFY(bytes.contains("latitude=\"0.1\""));
    QVERIFY(bytes.contains("longitude=\"1e-300\""));
}

void TestXmlCodec::bytesDoNotDependOnInsertionOrder()
{
    Computer forward = sample<Computer>();
    forward.registrations.clear();
    forward.flags.clear();
    Computer backward = forward;
    backward.registrations.reserve(100000);

    for (int i = 0; i < 2000; ++i)
        forward.registrations.insert(QStringLiteral("login%1").arg(i), i);
    for (int i = 1999; i >= 0; --i)
        backward.registrations.insert(QStringLiteral("login%1").arg(i), i);
    for (ComputerFlag flag : Computers::Flags)
        forward.flags.insert(flag);
    for (auto it = Computers::Flags.crbegin(); it != Computers::Flags.crend(); ++it)
        backward.flags.insert(*it);

    QCOMPARE(forward, backward);
    QCOMPARE(writeDocument(forward), writeDocument(backward));
}

void TestXmlCodec::registrationsAsAHash()
{
    // Any order of insertion gives login order; a login again replaces its operator.
    Registrations r{{QStringLiteral("петров"), 2}, {QStringLiteral("b"), 1}, {QStringLiteral("a"), 9}};
    r.insert(QStringLiteral("a"), 3);
    r[QStringLiteral("c")] = 4;
    QCOMPARE(r.keys(), (QStringList{"a", "b", "c", "петров"}));
    QCOMPARE(r.values(), (QList<int>{3, 1, 4, 2}));
    QCOMPARE(r, (Registrations{{QStringLiteral("c"), 4}, {QStringLiteral("петров"), 2}, {QStringLiteral("a"), 3},
                               {QStringLiteral("b"), 1}}));
    QCOMPARE(r.value(QStringLiteral("x"), -1), -1);
    QCOMPARE(r.take(QStringLiteral("b")), 1);
    QVERIFY(!r.remove(QStringLiteral("b")));
    for (auto it = r.begin(); it != r.end();)
        it = *it == 4 ? r.erase(it) : std::next(it);
    QCOMPARE(r.toHash(), (QHash<QString, int>{{QStringLiteral("a"), 3}, {QStringLiteral("петров"), 2}}));
    // A file's logins in any order, one of them twice: read in login order, the last standing.
    Computer computer;
    QCOMPARE(readDocument(R"(<Computer uid="1"><registrations><item login="b" operator="1"/>)"
                          R"(<item login="a" operator="2"/><item login="b" operator="3"/></registrations></Computer>)",
                          computer),
             QString());
    QCOMPARE(computer.registrations, (Registrations{{QStringLiteral("a"), 2}, {QStringLiteral("b"), 3}}));
    // A copy is its own once changed.
    Registrations copy = r;
    copy.insert(QStringLiteral("d"), 5);
    QCOMPARE(r.size(), 2);
}

void TestXmlCodec::computerFlagTokens()
{
    QSet<QString> tokens;
    for (ComputerFlag flag : Computers::Flags) {
        const QString token = Computers::toXmlName(flag);
        QCOMPARE(Computers::fromXmlName(token), flag);
        QVERIFY2(!token.contains(u' '), qPrintable(token)); // tokens are written space-separated
        tokens.insert(token);
    }
    QCOMPARE(tokens.size(), Computers::Flags.size());
    QCOMPARE(Computers::fromXmlName(Computers::toXmlName(ComputerFlag::Unknown)), ComputerFlag::Unknown);
    QCOMPARE(Computers::fromXmlName(QStringLiteral("no_such_role")), ComputerFlag::Unknown);
    QCOMPARE(Computers::fromXmlName(QString()), ComputerFlag::Unknown);
}

QTEST_GUILESS_MAIN(TestXmlCodec)
#include "tst_xmlcodec.moc"
