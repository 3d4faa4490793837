// The coordinate entry: how a point is shown in its boxes and read back, and the settlement row.

#include "icons.h"
#include "latlonedit.h"
#include "modalanswerer.h"

#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

class TstLatLonEdit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qInitResources_icons(); }
    void showsPoint_data();
    void showsPoint();
    void changeUnbindsSettlement_data();
    void changeUnbindsSettlement();
    void places_data();
    void places();
};

namespace {

// "degrees minutes seconds hemisphere" of the row named latitude or longitude.
QString shown(const LatLonEdit& edit, const QString& row)
{
    QStringList parts;
    for (const char* box : {"Degrees", "Minutes", "Seconds"}) {
        auto* spin = edit.findChild<QSpinBox*>(row + QLatin1String(box));
        parts << (spin ? QString::number(spin->value()) : QStringLiteral("?"));
    }
    auto* hemisphere = edit.findChild<QComboBox*>(row + QStringLiteral("Hemisphere"));
    parts << (hemisphere ? hemisphere->currentText() : QStringLiteral("?"));
    return parts.join(QLatin1Char(' '));
}

} // namespace

void TstLatLonEdit::showsPoint_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("latitudeBoxes");
    QTest::addColumn<QString>("longitudeBoxes");
    QTest::addColumn<double>("readLatitude");
    QTest::addColumn<double>("readLongitude");

    QTest::newRow("seconds clamp to 59") << 59.99999 << 30.0 << "59 59 59 С" << "30 0 0 В" << 59 + 59 / 60.0 + 59 / 3600.0
                                         << 30.0;
    QTest::newRow("half a degree west") << 0.0 << -0.5 << "0 0 0 С" << "0 30 0 З" << 0.0 << -0.5;
    QTest::newRow("south and east") << -33.5 << 151.25 << "33 30 0 Ю" << "151 15 0 В" << -33.5 << 151.25;
    QTest::newRow("seconds rounded") << 59.9386 << 30.3141 << "59 56 19 С" << "30 18 51 В" << 59 + 56 / 60.0 + 19 / 3600.0
                                     << 30 + 18 / 60.0 + 51 / 3600.0;
    QTest::newRow("degrees clamp to their range") << 90.0 << -180.0 << "89 59 59 С" << "179 59 59 З"
                                                  << 89 + 59 / 60.0 + 59 / 3600.0 << -(179 + 59 / 60.0 + 59 / 3600.0);
}

void TstLatLonEdit::showsPoint()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QString, latitudeBoxes);
    QFETCH(QString, longitudeBoxes);
    QFETCH(double, readLatitude);
    QFETCH(double, readLongitude);

    LatLonEdit edit(QStringLiteral("Координаты"), MapPoint{longitude, latitude});
    QCOMPARE(shown(edit, QStringLiteral("latitude")), latitudeBoxes);
    QCOMPARE(shown(edit, QStringLiteral("longitude")), longitudeBoxes);
    QCOMPARE(edit.point().latitude, readLatitude);
    QCOMPARE(edit.point().longitude, readLongitude);
    QVERIFY(!edit.findChild<QLineEdit*>(QStringLiteral("settlement"))); // no settlement row without a settlement

    edit.setLatLon(MapPoint{0, 0});
    QCOMPARE(shown(edit, QStringLiteral("latitude")), QStringLiteral("0 0 0 С"));
    QCOMPARE(shown(edit, QStringLiteral("longitude")), QStringLiteral("0 0 0 В"));
}

void TstLatLonEdit::changeUnbindsSettlement_data()
{
    QTest::addColumn<QString>("box");
    for (const char* row : {"latitude", "longitude"}) {
        for (const char* box : {"Degrees", "Minutes", "Seconds", "Hemisphere"}) {
            const QString name = QLatin1String(row) + QLatin1String(box);
            QTest::newRow(qPrintable(name)) << name;
        }
    }
}

void TstLatLonEdit::changeUnbindsSettlement()
{
    QFETCH(QString, box);
    QString settlement = QStringLiteral("Пушкин");
    LatLonEdit edit(QStringLiteral("Координаты"), MapPoint{30.5, 59.75}, &settlement);
    auto* line = edit.findChild<QLineEdit*>(QStringLiteral("settlement"));
    QVERIFY(line);
    QVERIFY(line->isReadOnly());
    QCOMPARE(line->text(), settlement);

    if (auto* spin = edit.findChild<QSpinBox*>(box))
        spin->setValue(spin->value() + 1);
    else if (auto* hemisphere = edit.findChild<QComboBox*>(box))
        hemisphere->setCurrentIndex(1 - hemisphere->currentIndex());
    else
        QFAIL("no such box");
    QCOMPARE(settlement, QString());
    QCOMPARE(line->text(), QString());
}

void TstLatLonEdit::places_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("settlement");
    QTest::newRow("confirmed: unbound") << true << QString();
    QTest::newRow("cancelled: kept") << false << QStringLiteral("Пушкин");
}

void TstLatLonEdit::places()
{
    QFETCH(bool, confirm);
    QFETCH(QString, settlement);

    QString bound = QStringLiteral("Пушкин");
    LatLonEdit edit(QStringLiteral("Координаты"), MapPoint{30.5, 59.75}, &bound);
    QPointF asked;
    connect(&edit, &LatLonEdit::querryPlaces, this, [&asked](QPointF point, QStringList&) { asked = point; });
    auto* bind = edit.findChild<QPushButton*>(QStringLiteral("bind"));
    QVERIFY(bind);
    QCOMPARE(bind->toolTip(), QStringLiteral("Привязать"));
    QVERIFY(!bind->icon().isNull());

    QStringList offered;
    ModalAnswerer answers;
    answers.handleNext([&offered, confirm](QWidget* modal) {
        if (auto* input = qobject_cast<QInputDialog*>(modal))
            offered = input->comboBoxItems();
        ModalAnswerer::click(modal, confirm ? QMessageBox::Ok : QMessageBox::Cancel);
    });
    bind->click();
    QCOMPARE(answers.seen(), QStringList{"QInputDialog: Ближайшие населенные пункты: в радиусе 100 км:"});
    QCOMPARE(offered, QStringList{"[отвязать]"});
    QCOMPARE(asked.x(), qDegreesToRadians(edit.point().longitude));
    QCOMPARE(asked.y(), qDegreesToRadians(edit.point().latitude));
    QCOMPARE(bound, settlement);
    QCOMPARE(edit.findChild<QLineEdit*>(QStringLiteral("settlement"))->text(), settlement);
}

QTEST_MAIN(TstLatLonEdit)
#include "tst_latlonedit.moc"
