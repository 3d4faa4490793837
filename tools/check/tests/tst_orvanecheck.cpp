#include "complexconfig.h"
#include "testfiles.h"
#include "unprivileged.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <functional>

using namespace CoConfig;

using Breakage = std::function<void(ComplexConfigInterface&)>;
Q_DECLARE_METATYPE(Breakage)

namespace {

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QString output;
    QString errors;

    QStringList lines() const { return output.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// With a command, runs it followed by the program and its arguments (a wrapper such as setpriv).
Run runCheck(const QStringList& arguments, const QString& configDir = QString(), const QStringList& command = {})
{
    QProcess process;
    if (!configDir.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ORVANE_CONFIG_DIR"), configDir);
        process.setProcessEnvironment(environment);
    }
    if (command.isEmpty())
        process.start(QStringLiteral(ORVANE_CHECK_PROGRAM), arguments);
    else
        process.start(command.first(), command.mid(1) << QStringLiteral(ORVANE_CHECK_PROGRAM) << arguments);
    Run run;
    run.finished = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// A copy of the sample complex, so that the store's lock file never lands in the repository.
bool copySample(const QString& to)
{
    return QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), QStringLiteral(ORVANE_SAMPLE_COMPLEX_DIR), to})
        == 0;
}

// The sample with the breakages written into it through the store.
bool writeBrokenSample(const QString& dir, const QList<Breakage>& breakages)
{
    if (!copySample(dir))
        return false;
    ComplexConfig store(dir, ObjectAll, ObjectArmUnions);
    if (store.readStatus() != 0)
        return false;
    for (const Breakage& breakage : breakages)
        breakage(store);
    return store.write(ObjectAll);
}

Computer& computer(ComplexConfigInterface& store, int uid)
{
    return store.computers()[ComponentUid<1>(uid)];
}

Channel& channel(ComplexConfigInterface& store, int uid)
{
    return store.receivers().channels[ComponentUid<4>(uid)];
}

AntennaControl& control(ComplexConfigInterface& store, int uid)
{
    return store.receivers().antennaControls[ComponentUid<8>(uid)];
}

PowerSocket& socket(ComplexConfigInterface& store, int uid)
{
    return store.power().powerSockets[ComponentUid<12>(uid)];
}

} // namespace

class TestOrvaneCheck : public QObject
{
    Q_OBJECT

private slots:
    void sampleIsClean();
    void brokenReference_data();
    void brokenReference();
    void jsonHoldsTheSameProblems();
    void defaultDirectoryIsTheConfiguredOne();
    void unreadableDirectory_data();
    void unreadableDirectory();
};

void TestOrvaneCheck::sampleIsClean()
{
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(copySample(dir));
    const Run run = runCheck({dir});
    QVERIFY2(run.finished, qPrintable(run.errors));
    QCOMPARE(run.output, QString());
    QCOMPARE(run.exitCode, 0);
}

void TestOrvaneCheck::brokenReference_data()
{
    QTest::addColumn<Breakage>("breakage");
    QTest::addColumn<QString>("line");

    const auto row = [](const char* name, const Breakage& breakage, const char* line) {
        QTest::newRow(name) << breakage << QString::fromUtf8(line);
    };
    row("computer's rack", [](ComplexConfigInterface& s) { computer(s, 100).rack = ComponentUid<0>(99); },
        "ЭВМ 100 «АРМ оператора №1», Стойка: нет такой записи: Стойка 99");
    row("registered operator", [](ComplexConfigInterface& s) { computer(s, 100).registrations["ivanov"] = 77; },
        "ЭВМ 100 «АРМ оператора №1», Операторы: логин \"ivanov\": нет такой записи: Оператор 77");
    row("no IP address", [](ComplexConfigInterface& s) { computer(s, 100).ipAddress = "192.168.10"; },
        "ЭВМ 100 «АРМ оператора №1», IP адрес: \"192.168.10\" не является IP адресом");
    row("IP address twice", [](ComplexConfigInterface& s) { computer(s, 101).ipAddress = "192.168.10.100"; },
        "ЭВМ 101 «АРМ оператора №2», IP адрес: адрес 192.168.10.100 уже у записи ЭВМ 100");
    row("UPS's rack", [](ComplexConfigInterface& s) { s.power().ups[ComponentUid<9>(1)].rack = ComponentUid<0>(99); },
        "ИБП 1 «ИБП стойки управления», Стойка: нет такой записи: Стойка 99");
    row("UPS on a computer's address",
        [](ComplexConfigInterface& s) { s.power().ups[ComponentUid<9>(1)].ipAddress = "192.168.10.100"; },
        "ИБП 1 «ИБП стойки управления», IP адрес: адрес 192.168.10.100 уже у записи ЭВМ 100");
    row("PDU's rack", [](ComplexConfigInterface& s) { s.power().pdus[ComponentUid<10>(1)].rack = ComponentUid<0>(99); },
        "Распределитель питания 1 «БРП стойки управления», Стойка: нет такой записи: Стойка 99");
    row("socket's PDU", [](ComplexConfigInterface& s) { socket(s, 1).pdu = ComponentUid<10>(99); },
        "Розетка питания 1, Распределитель питания: нет такой записи: Распределитель питания 99");
    row("socket's object", [](ComplexConfigInterface& s) { socket(s, 1).object = {99, int(ComponentType::Receiver)}; },
        "Розетка питания 1, Объект: нет такой записи: Приёмник 99");
    row("socket's object of an unknown type", [](ComplexConfigInterface& s) { socket(s, 1).object = {1, 42}; },
        "Розетка питания 1, Объект: неизвестный тип объекта 42 (объект 1)");
    row("sensor's UPS",
        [](ComplexConfigInterface& s) { s.power().openSensors[ComponentUid<11>(1)].ups = ComponentUid<9>(99); },
        "Датчик открытия 1, ИБП: нет такой записи: ИБП 99");
    row("sensor's rack",
        [](ComplexConfigInterface& s) { s.power().openSensors[ComponentUid<11>(1)].controlledRack = ComponentUid<0>(99); },
        "Датчик открытия 1, Стойка: нет такой записи: Стойка 99");
    row("receiver's rack",
        [](ComplexConfigInterface& s) { s.receivers().receivers[ComponentUid<2>(1)].rack = ComponentUid<0>(99); },
        "Приёмник 1 «Приёмник КВ-1», Стойка: нет такой записи: Стойка 99");
    row("channel server's computer",
        [](ComplexConfigInterface& s) { s.receivers().channelServers[ComponentUid<3>(1)].computer = ComponentUid<1>(99); },
        "Сервер каналов 1 «Сервер каналов КВ», Компьютер: нет такой записи: ЭВМ 99");
    row("channel's cassette type", [](ComplexConfigInterface& s) { channel(s, 1).cassetteType = ComponentUid<5>(99); },
        "Канал 1 «Канал 1 (КВ-1)», Тип кассеты: нет такой записи: Тип кассеты 99");
    row("channel's receiver", [](ComplexConfigInterface& s) { channel(s, 1).receiver = ComponentUid<2>(99); },
        "Канал 1 «Канал 1 (КВ-1)», Приёмник: нет такой записи: Приёмник 99");
    row("channel's server", [](ComplexConfigInterface& s) { channel(s, 1).channelServer = ComponentUid<3>(99); },
        "Канал 1 «Канал 1 (КВ-1)», Сервер каналов: нет такой записи: Сервер каналов 99");
    row("server index twice", [](ComplexConfigInterface& s) { channel(s, 2).serverIndex = 0; },
        "Канал 2 «Канал 2 (КВ-1)», Индекс: индекс 0 на сервере каналов 1 уже занят каналом 1");
    row("channel's antenna control", [](ComplexConfigInterface& s) { channel(s, 1).antennaControl = ComponentUid<8>(99); },
        "Канал 1 «Канал 1 (КВ-1)», РПУ: нет такой записи: РПУ антенн 99");
    row("pool's antenna",
        [](ComplexConfigInterface& s) { s.receivers().antennaPools[ComponentUid<6>(1)].antennaUids.append(99); },
        "Набор антенн 1 «Антенны КВ», Диаграммы: нет такой записи: Антенна 99");
    row("antenna server's computer",
        [](ComplexConfigInterface& s) { s.receivers().antennaServers[ComponentUid<7>(1)].computer = ComponentUid<1>(99); },
        "Сервер антенн 1 «Коммутатор антенн КВ», Компьютер: нет такой записи: ЭВМ 99");
    row("antenna server's pool",
        [](ComplexConfigInterface& s) { s.receivers().antennaServers[ComponentUid<7>(1)].antennaPool = ComponentUid<6>(99); },
        "Сервер антенн 1 «Коммутатор антенн КВ», Антенная группа: нет такой записи: Набор антенн 99");
    row("antenna control's server", [](ComplexConfigInterface& s) { control(s, 1).antennaServer = ComponentUid<7>(99); },
        "РПУ антенн 1 «0 (Север)», Сервер: нет такой записи: Сервер антенн 99");
    // The control keeps the pattern and azimuth of its antenna (D:1/A:0 in the sample).
    row("antenna control's antenna", [](ComplexConfigInterface& s) { control(s, 1).antenna.uid = 99; },
        "РПУ антенн 1 «0 (Север)», Антена: нет такой записи: Антенна 99 «D:1/A:0»");
    row("antenna outside the server's pool", [](ComplexConfigInterface& s) { control(s, 1).antenna.uid = 4; },
        "РПУ антенн 1 «0 (Север)», Антена: антенна 4 не входит в набор антенн 1 сервера антенн 1");
    row("union's workstation", [](ComplexConfigInterface& s) { s.armUnionsMap()[1].armUids.append(99); },
        "Объединение АРМ 1 «Пост радиоконтроля №1», АРМ: нет такой записи: ЭВМ 99");
    row("union's antenna", [](ComplexConfigInterface& s) { s.armUnionsMap()[1].antennaUids.append(99); },
        "Объединение АРМ 1 «Пост радиоконтроля №1», Антенны: нет такой записи: Антенна 99");
    row("antenna of two unions", [](ComplexConfigInterface& s) { s.armUnionsMap()[2].antennaUids.append(1); },
        "Объединение АРМ 2 «Пункт управления», Антенны: антенна 1 уже привязана к объединению 1");
    row("rack without a name", [](ComplexConfigInterface& s) { s.racks()[ComponentUid<0>(1)].name = " "; },
        "Стойка 1 « », Название: не заполнено");
    row("operator without a name",
        [](ComplexConfigInterface& s) {
            Common::Operator& op = s.operatorsMap()[5];
            op.surname = op.name = op.thirdname = QString();
        },
        "Оператор 5, ФИО: не заполнено");
    row("direction-finder union's member", [](ComplexConfigInterface& s) { s.pelengatorUnionsMap()[1].pelengatorUids.append(99); },
        "Группа пеленгаторов 1 «Пеленгационная сеть», Пеленгаторы: нет такой записи: Пеленгатор 99");
    row("data storage's computer", [](ComplexConfigInterface& s) { s.dataStoragesMap()[1].computerUid = 99; },
        "Хранилище данных 1 «Архив записей», Компьютер: нет такой записи: ЭВМ 99");
}

void TestOrvaneCheck::brokenReference()
{
    QFETCH(Breakage, breakage);
    QFETCH(QString, line);

    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(writeBrokenSample(dir, {breakage}));
    const Run run = runCheck({dir});
    QVERIFY2(run.finished, qPrintable(run.errors));
    QCOMPARE(run.lines(), QStringList{line});
    QCOMPARE(run.exitCode, 1);
}

void TestOrvaneCheck::jsonHoldsTheSameProblems()
{
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(writeBrokenSample(dir, {[](ComplexConfigInterface& s) { computer(s, 100).rack = ComponentUid<0>(99); },
                                    [](ComplexConfigInterface& s) { channel(s, 2).serverIndex = 0; },
                                    [](ComplexConfigInterface& s) { socket(s, 1).object = {1, 42}; }}));
    const Run text = runCheck({dir});
    const Run json = runCheck({QStringLiteral("--json"), dir});
    QVERIFY2(text.finished && json.finished, qPrintable(text.errors + json.errors));
    QCOMPARE(json.exitCode, 1);
    QCOMPARE(text.lines().size(), 3);

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.output.toUtf8(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    QCOMPARE(document[QStringLiteral("directory")].toString(), QDir(dir).canonicalPath());
    const QJsonArray problems = document[QStringLiteral("problems")].toArray();
    QStringList texts;
    for (const QJsonValue& problem : problems)
        texts.append(problem[QStringLiteral("text")].toString());
    QCOMPARE(texts, text.lines());

    const QJsonObject first = problems.at(0).toObject();
    const QJsonObject expected{{"problem", "missing-record"},
                               {"kind", "Computer"},
                               {"kindTitle", "ЭВМ"},
                               {"uid", 100},
                               {"name", "АРМ оператора №1"},
                               {"field", "rack"},
                               {"fieldTitle", "Стойка"},
                               {"message", "нет такой записи: Стойка 99"},
                               {"text", text.lines().at(0)},
                               {"target", QJsonObject{{"kind", "Rack"}, {"uid", 99}}}};
    QCOMPARE(first, expected);
    // Power equipment comes before radio equipment.
    QCOMPARE(problems.at(1)[QStringLiteral("problem")].toString(), QStringLiteral("unknown-object-type"));
    QVERIFY(!problems.at(1).toObject().contains(QStringLiteral("target")));
    QCOMPARE(problems.at(2)[QStringLiteral("problem")].toString(), QStringLiteral("duplicate-server-index"));
}

void TestOrvaneCheck::defaultDirectoryIsTheConfiguredOne()
{
    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    QVERIFY(writeBrokenSample(dir, {[](ComplexConfigInterface& s) { computer(s, 100).rack = ComponentUid<0>(99); }}));
    const Run run = runCheck({}, dir);
    QVERIFY2(run.finished, qPrintable(run.errors));
    QCOMPARE(run.lines(), QStringList{QStringLiteral("ЭВМ 100 «АРМ оператора №1», Стойка: нет такой записи: Стойка 99")});
    QCOMPARE(run.exitCode, 1);
}

void TestOrvaneCheck::unreadableDirectory_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing") << "none" << "нет каталога конфигурации";
    QTest::newRow("a file") << "file" << "не является каталогом";
    QTest::newRow("an unreadable file") << "broken" << "racks/racks.xml";
    QTest::newRow("a file where a kind's folder should be")
        << "folder is a file" << QStringLiteral("racks/racks.xml\": ") + QString::fromLocal8Bit(std::strerror(ENOTDIR));
    QTest::newRow("a kind's folder that cannot be searched")
        << "folder mode 000" << QStringLiteral("racks/racks.xml\": ") + QString::fromLocal8Bit(std::strerror(EACCES));
}

void TestOrvaneCheck::unreadableDirectory()
{
    QFETCH(QString, setup);
    QFETCH(QString, reason);

    QTemporaryDir temp;
    const QString dir = temp.filePath(QStringLiteral("complex"));
    const QString racks = dir + QStringLiteral("/racks");
    QStringList command;
    if (setup == QLatin1String("file"))
        QVERIFY(TestFiles::writeFile(dir, "not a directory\n"));
    if (setup == QLatin1String("broken")) {
        QVERIFY(copySample(dir));
        QVERIFY(TestFiles::writeFile(racks + QStringLiteral("/racks.xml"), "<racks><rack uid=\"1\">"));
    }
    if (setup == QLatin1String("folder is a file")) {
        QVERIFY(copySample(dir));
        QVERIFY(QDir(racks).removeRecursively());
        QVERIFY(TestFiles::writeFile(racks, "<Racks/>\n"));
    }
    if (setup == QLatin1String("folder mode 000")) {
        const auto unprivileged = Unprivileged::command();
        if (!unprivileged || !Unprivileged::openToEveryone(temp.path()))
            QSKIP("needs an unprivileged user to meet the folder's mode (root with setpriv, or no root)");
        command = *unprivileged;
        QVERIFY(copySample(dir));
        QVERIFY(QFile::setPermissions(racks, {}));
    }
    const Run run = runCheck({dir}, QString(), command);
    QVERIFY2(run.finished, qPrintable(run.errors));
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.output, QString());
    QVERIFY2(run.errors.contains(reason), qPrintable(run.errors));
}

QTEST_GUILESS_MAIN(TestOrvaneCheck)
#include "tst_orvanecheck.moc"
