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
};

void TestCounterDialog::counterText_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("digits");
    QTest::addColumn<QStringList>("texts"); // of cells 0, 1, 2

    QTest::newRow("defaults") << "[C]" << 0 << 1 << 1 << QStringList{"0", "1", "2"};
    QTest::newRow("padded") << "K-[C]" << 5 << 10 << 3 << QStringList{"K-005", "K-015", "K-025"};
    QTest::newRow("longer than the digits") << "[C]" << 123 << 1 << 2 << QStringList{"123", "124", "125"};
    QTest::newRow("no counter in the mask") << "Rack" << 0 << 1 << 1 << QStringList{"Rack", "Rack", "Rack"};
    QTest::newRow("counter twice, case matters") << "[C]-[c]-[C]" << 1 << 1 << 2
                                                 << QStringList{"01-[c]-01", "02-[c]-02", "03-[c]-03"};
    QTest::newRow("step 0") << "[C]" << 7 << 0 << 1 << QStringList{"7", "7", "7"};
    QTest::newRow("largest values") << "[C]" << 10000000 << 10000 << 10
                                    << QStringList{"0010000000", "0010010000", "0010020000"};
}

void TestCounterDialog::counterText()
{
    QFETCH(QString, mask);
    QFETCH(int, start);
    QFETCH(int, step);
    QFETCH(int, digits);
    QFETCH(QStringList, texts);

    CounterDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Настройки счётчика"));
    auto* maskEdit = dialog.findChild<QLineEdit*>(QStringLiteral("mask"));
    auto* startBox = dialog.findChild<QSpinBox*>(QStringLiteral("start"));
    auto* stepBox = dialog.findChild<QSpinBox*>(QStringLiteral("step"));
    auto* digitsBox = dialog.findChild<QSpinBox*>(QStringLiteral("digits"));
    QVERIFY(maskEdit && startBox && stepBox && digitsBox);
    maskEdit->setText(mask);
    startBox->setValue(start);
    stepBox->setValue(step);
    digitsBox->setValue(digits);
    for (int n = 0; n < texts.size(); ++n)
        QCOMPARE(dialog.counterText(n), texts.at(n));
}

QTEST_MAIN(TestCounterDialog)
#include "tst_counterdialog.moc"
