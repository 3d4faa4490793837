#include "counterdialog.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QtTest>

class TestCounterDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void counterText_data();
    void counterText();
    void startsFromItsDefaults();
};

void TestCounterDialog::counterText_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("padded") << "K-[C]" << 5 << 10 << 3 << QStringList{"K-005", "K-015", "K-025"};
    QTest::newRow("longer than the digits") << "[C]" << 123 << 1 << 2 << QStringList{"123", "124"};
    QTest::newRow("no counter in the mask") << "Rack" << 0 << 1 << 1 << QStringList{"Rack", "Rack"};
    QTest::newRow("counter twice") << "[C]-[C]" << 1 << 1 << 2 << QStringList{"01-01", "02-02"};
    QTest::newRow("case matters") << "[c][C]" << 0 << 1 << 1 << QStringList{"[c]0", "[c]1"};
    QTest::newRow("step 0") << "R[C]" << 7 << 0 << 1 << QStringList{"R7", "R7"};
    QTest::newRow("largest values") << "[C]" << 10000000 << 10000 << 10 << QStringList{"0010000000", "0010010000"};
}

void TestCounterDialog::counterText()
{
    QFETCH(QString, mask);
    QFETCH(int, start);
    QFETCH(int, step);
    QFETCH(int, digits);
    QFETCH(QStringList, texts);

    CounterDialog dialog;
    dialog.maskEdit()->setText(mask);
    dialog.startBox()->setValue(start);
    dialog.stepBox()->setValue(step);
    dialog.digitsBox()->setValue(digits);
    for (int n = 0; n < texts.size(); ++n)
        QCOMPARE(dialog.counterText(n), texts.at(n));
}

void TestCounterDialog::startsFromItsDefaults()
{
    CounterDialog first;
    first.maskEdit()->setText("changed");
    first.startBox()->setValue(9);
    CounterDialog second;
    QCOMPARE(second.windowTitle(), QStringLiteral("Настройки счётчика"));
    QCOMPARE(second.counterText(0), QStringLiteral("0"));
    QCOMPARE(second.counterText(12), QStringLiteral("12"));
    QCOMPARE(second.counterText(200000), QStringLiteral("200000"));
}

QTEST_MAIN(TestCounterDialog)
#include "tst_counterdialog.moc"
