#include "channelmodulecombobox.h"

#include <QtTest>

class TestChannelModuleComboBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsEveryKindByName();
    void setCurrentSelectsTheKind_data();
    void setCurrentSelectsTheKind();
};

void TestChannelModuleComboBox::listsEveryKindByName()
{
    QWidget parent;
    Common::ChannelModuleComboBox box(&parent);
    QCOMPARE(box.parentWidget(), &parent);
    QCOMPARE(box.count(), Common::ChannelModules.size());
    QSet<QString> names;
    for (int i = 0; i < box.count(); ++i) {
        const QString name = box.itemText(i);
        QCOMPARE(name, Common::channelModuleName(Common::ChannelModules.at(i)));
        QVERIFY2(!name.isEmpty() && !name.contains(QString::number(box.itemData(i).toInt())), qPrintable(name));
        names.insert(name);
    }
    QCOMPARE(names.size(), box.count()); // each kind by its own name
    QCOMPARE(box.current(), int(Common::ChannelModuleNone));
    QCOMPARE(box.currentText(), QStringLiteral("Нет"));
}

void TestChannelModuleComboBox::setCurrentSelectsTheKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("count"); // of entries afterwards
    const int known = int(Common::ChannelModules.size());
    QTest::newRow("none") << -1 << known;
    QTest::newRow("recording") << int(Common::ChannelModuleRecording) << known;
    QTest::newRow("last") << int(Common::ChannelModules.last()) << known;
    QTest::newRow("unknown, kept") << 77 << known + 1;
}

void TestChannelModuleComboBox::setCurrentSelectsTheKind()
{
    QFETCH(int, kind);
    QFETCH(int, count);
    Common::ChannelModuleComboBox box;
    box.setCurrent(Common::ChannelModuleSearch);
    box.setCurrent(Common::ChannelModuleType(kind));
    QCOMPARE(box.current(), kind);
    QCOMPARE(box.currentText(), Common::channelModuleName(kind));
    if (count > Common::ChannelModules.size()) // a kind of its own, named with its number
        QVERIFY2(box.currentText().contains(QString::number(kind)), qPrintable(box.currentText()));
    QCOMPARE(box.count(), count);
    box.setCurrent(Common::ChannelModuleType(kind)); // again: no second entry
    QCOMPARE(box.count(), count);
}

QTEST_MAIN(TestChannelModuleComboBox)
#include "tst_channelmodulecombobox.moc"
