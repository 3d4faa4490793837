#include "testfiles.h"
#include "teststore.h"

#include <QtTest>

using namespace CoConfig;

// A computer flag that a newer version wrote survives this version's rewrite of the workstations,
// as the registration tool does when it registers one user.
class TestComputerFlagsOnDisk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unknownTokenSurvivesARewrite();
};

void TestComputerFlagsOnDisk::unknownTokenSurvivesARewrite()
{
    TestStore store;
    QVERIFY(store.isValid());
    Computer computer;
    computer.uid = ComponentUid<1>(1);
    computer.name = QStringLiteral("АРМ 1");
    computer.flags = {ComputerFlag::Workstation};
    store->computers().insert(computer.uid, computer);
    QVERIFY2(store->write(ObjectAll), qPrintable(store->errorString()));

    // The newer version adds a role of its own.
    const QString file = store.path() + QStringLiteral("/arms/computers.xml");
    QByteArray bytes = TestFiles::readFile(file);
    QVERIFY(bytes.contains("<flags>workstation</flags>"));
    bytes.replace("<flags>workstation</flags>", "<flags>role_of_tomorrow workstation</flags>");
    QVERIFY(TestFiles::writeFile(file, bytes));

    const std::unique_ptr<ComplexConfig> older = store.reopen();
    QCOMPARE(older->readStatus(), 0);
    Computer& read = older->computers()[computer.uid];
    QCOMPARE(read.flags, ComputerFlags{ComputerFlag::Workstation});
    QCOMPARE(read.unknownFlags, QSet<QString>{QStringLiteral("role_of_tomorrow")});
    read.registrations.insert(QStringLiteral("ivanov"), 7);
    QVERIFY2(older->write(ObjectComputers), qPrintable(older->errorString()));

    QVERIFY(TestFiles::readFile(file).contains("<flags>workstation role_of_tomorrow</flags>"));
    const std::unique_ptr<ComplexConfig> again = store.reopen();
    QCOMPARE(again->computers().value(computer.uid), read);
}

QTEST_GUILESS_MAIN(TestComputerFlagsOnDisk)
#include "tst_computerflagsondisk.moc"
