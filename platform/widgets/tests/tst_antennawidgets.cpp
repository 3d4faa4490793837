#include "antennas.h"
#include "antennaslistwidget.h"
#include "antennedit.h"

#include <QtTest>

using Common::Antenna;

namespace {

// Two antennas of pattern 2, so that a pattern can stand for more than one antenna.
const QList<Antenna> antennas = {
    {0, 10.0f, 2, 11, true}, {1, 20.0f, 5, 12, false}, {2, 30.0f, 2, 13, true}, {0, -1.0f, 7, 14, true}};

QList<int> uidsOf(const QList<Antenna>& list)
{
    QList<int> uids;
    for (const Antenna& antenna : list)
        uids.append(antenna.uid);
    return uids;
}

} // namespace

class TestAntennaWidgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void antennasOf();
    void listSelection_data();
    void listSelection();
    void chooserPicksThePattern_data();
    void chooserPicksThePattern();
};

void TestAntennaWidgets::antennasOf()
{
    QMap<int, Antenna> map;
    for (const Antenna& antenna : antennas)
        map.insert(antenna.uid, antenna);
    const QList<Antenna> found = Common::antennasOf(map, {13, 99, 11});
    QCOMPARE(found, QList<Antenna>({antennas.at(2), Antenna(), antennas.at(0)}));
}

void TestAntennaWidgets::listSelection_data()
{
    QTest::addColumn<QList<int>>("given");    // uids handed to setSelectedAntennas
    QTest::addColumn<QList<int>>("selected"); // uids read back, in the widget's order

    QTest::newRow("in the widget's order") << QList<int>({14, 11}) << QList<int>({11, 14});
    QTest::newRow("unknown and missing ones skipped") << QList<int>({99, -1, 12}) << QList<int>({12});
    QTest::newRow("none") << QList<int>() << QList<int>();
}

void TestAntennaWidgets::listSelection()
{
    QFETCH(QList<int>, given);
    QFETCH(QList<int>, selected);

    QWidget parent;
    Common::AntennasListWidget list(antennas, &parent);
    QCOMPARE(list.parentWidget(), &parent);
    QCOMPARE(list.count(), antennas.size());
    QCOMPARE(list.selectionMode(), QAbstractItemView::MultiSelection);
    list.setSelectedAntennas({antennas.at(1), antennas.at(2)}); // replaced below

    QList<Antenna> wanted;
    for (const int uid : given)
        wanted.append(Antenna{0, 0.0f, 0, uid, false}); // matched by uid alone
    list.setSelectedAntennas(wanted);
    QCOMPARE(uidsOf(list.selectedAntennas()), selected);
    for (const Antenna& antenna : list.selectedAntennas())
        QVERIFY(antennas.contains(antenna)); // whole records, not the ones given
}

void TestAntennaWidgets::chooserPicksThePattern_data()
{
    QTest::addColumn<int>("diagram");
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("uid"); // of the chosen antenna, -1 for none

    QTest::newRow("first of two with the pattern") << 2 << true << 11;
    QTest::newRow("unique") << 7 << true << 14;
    QTest::newRow("no such pattern") << 3 << false << -1;
}

void TestAntennaWidgets::chooserPicksThePattern()
{
    QFETCH(int, diagram);
    QFETCH(bool, found);
    QFETCH(int, uid);

    QWidget parent;
    Common::AntennEdit edit(&parent);
    QCOMPARE(edit.parentWidget(), &parent);
    edit.setAntenns(antennas);
    QVERIFY(!edit.hasCurrent());
    QVERIFY(edit.setCurrentDiagram(5));
    QCOMPARE(edit.setCurrentDiagram(diagram), found);
    QCOMPARE(edit.hasCurrent(), found);
    QCOMPARE(edit.currentAntenna().uid, uid);
    if (found)
        QVERIFY(antennas.contains(edit.currentAntenna()));
    else
        QCOMPARE(edit.currentAntenna(), Antenna());

    edit.setAntenns({});
    QVERIFY(!edit.setCurrentDiagram(diagram));
}

QTEST_MAIN(TestAntennaWidgets)
#include "tst_antennawidgets.moc"
