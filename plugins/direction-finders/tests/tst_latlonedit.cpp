// The coordinate entry: how a point is shown in its boxes and read back, and the settlement row.

#include "formatdms.h"
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
    void wholeSecondsRoundTrip_data();
    void wholeSecondsRoundTrip();
    void changeUnbindsSettlement_data();
    void changeUnbindsSettlement();
    void places_data();
    void places();
};

void TstLatLonEdit::showsPoint_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("boxes"); // degrees, minutes, seconds, hemisphere; latitude then longitude
    QTest::addColumn<double>("readLatitude");
    QTest::addColumn<double>("readLongitude");

    // Unchanged boxes read back the value they were given, even one between two seconds.
    QTest::newRow("60 seconds carried into the degree") << 59.99999 << 30.0 << "60 0 0 С 30 0 0 В" << 59.99999 << 30.0;
    QTest::newRow("half a degree west") << 0.0 << -0.5 << "0 0 0 С 0 30 0 З" << 0.0 << -0.5;
    QTest::newRow("south and east") << -33.5 << 151.25 << "33 30 0 Ю 151 15 0 В" << -33.5 << 151.25;
    QTest::newRow("degrees clamp to their range") << 90.0 << -180.0 << "89 59 59 С 179 59 59 З" << 90.0 << -180.0;
    QTest::newRow("rounded to the nearest second") << 10.09972 << -0.00014 << "10 5 59 С 0 0 1 З" << 10.09972
                                                   << -0.00014;
}

// A point entered in whole seconds shows, reopens and reads back exactly as entered.
void TstLatLonEdit::wholeSecondsRoundTrip_data()
{
    QTest::addColumn<QList<int>>("latitude");  // degrees, minutes, seconds, hemisphere
    QTest::addColumn<QList<int>>("longitude");
    QTest::addColumn<QString>("text");

    QTest::newRow("10°6'0\"С") << QList<int>{10, 6, 0, 0} << QList<int>{37, 37, 0, 0} << "10°6'0\"С 37°37'0\"В";
    QTest::newRow("59 seconds") << QList<int>{0, 59, 59, 1} << QList<int>{179, 59, 59, 1} << "0°59'59\"Ю 179°59'59\"З";
    QTest::newRow("59 minutes") << QList<int>{45, 59, 0, 0} << QList<int>{12, 0, 59, 1} << "45°59'0\"С 12°0'59\"З";
    QTest::newRow("one second") << QList<int>{0, 0, 1, 1} << QList<int>{0, 0, 1, 0} << "0°0'1\"Ю 0°0'1\"В";
}

void TstLatLonEdit::wholeSecondsRoundTrip()
{
    QFETCH(QList<int>, latitude);
    QFETCH(QList<int>, longitude);
    QFETCH(QString, text);

    const auto enter = [](LatLonEdit& edit, const char* row, const QList<int>& values) {
        const QStringList boxes = {"Degrees", "Minutes", "Seconds"};
        for (int i = 0; i < 3; ++i)
            edit.findChild<QSpinBox*>(QLatin1String(row) + boxes.at(i))->setValue(values.at(i));
        edit.findChild<QComboBox*>(QLatin1String(row) + QLatin1String("Hemisphere"))->setCurrentIndex(values.at(3));
    };
    LatLonEdit entered(QStringLiteral("Координаты"), MapPoint{});
    enter(entered, "latitude", latitude);
    enter(entered, "longitude", longitude);
    const MapPoint stored = entered.point();
    QCOMPARE(latitudeText(stored.latitude) + QLatin1Char(' ') + longitudeText(stored.longitude), text);

    // Reopened and left with OK: the same boxes, the same value.
    LatLonEdit reopened(QStringLiteral("Координаты"), stored);
    QCOMPARE(reopened.point().latitude, stored.latitude);
    QCOMPARE(reopened.point().longitude, stored.longitude);
    enter(reopened, "latitude", latitude);
    enter(reopened, "longitude", longitude);
    QCOMPARE(reopened.point().latitude, stored.latitude);
    QCOMPARE(reopened.point().longitude, stored.longitude);
}

void TstLatLonEdit::showsPoint()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QString, boxes);
    QFETCH(double, readLatitude);
    QFETCH(double, readLongitude);

    LatLonEdit edit(QStringLiteral("Координаты"), MapPoint{longitude, latitude});
    QStringList shown;
    for (const char* row : {"latitude", "longitude"}) {
        for (const char* box : {"Degrees", "Minutes", "Seconds"})
            shown << edit.findChild<QSpinBox*>(QLatin1String(row) + QLatin1String(box))->text().chopped(1);
        shown << edit.findChild<QComboBox*>(QLatin1String(row) + QLatin1String("Hemisphere"))->currentText();
    }
    QCOMPARE(shown.join(QLatin1Char(' ')), boxes);
    QCOMPARE(edit.point().latitude, readLatitude);
    QCOMPARE(edit.point().longitude, readLongitude);
    QVERIFY(!edit.findChild<QLineEdit*>(QStringLiteral("settlement"))); // no settlement: no row
}

void TstLatLonEdit::changeUnbindsSettlement_data()
{
    QTest::addColumn<QString>("box");
    for (const char* row : {"latitude", "longitude"}) {
        for (const char* box : {"Degrees", "Minutes", "Seconds", "Hemisphere"})
            QTest::newRow(qPrintable(QLatin1String(row) + QLatin1String(box))) << QLatin1String(row) + QLatin1String(box);
    }
}

void TstLatLonEdit::changeUnbindsSettlement()
{
    QFETCH(QString, box);
    QString settlement = QStringLiteral("Пушкин");
    LatLonEdit edit(QStringLiteral("Координаты"), MapPoint{30.5, 59.75}, &settlement);
    auto* line = edit.findChild<QLineEdit*>(QStringLiteral("settlement"));
    QVERIFY(line && line->isReadOnly());
    QCOMPARE(line->text(), settlement);
    if (auto* spin = edit.findChild<QSpinBox*>(box))
        spin->setValue(spin->value() + 1);
    else
        edit.findChild<QComboBox*>(box)->setCurrentIndex(1);
    QCOMPARE(settlement, QString());
    QCOMPARE(line->text(), QString());
}

void TstLatLonEdit::places_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<QString>("settlement");
    QTest::newRow("confirmed: unbound") << QMessageBox::Ok << QString();
    QTest::newRow("cancelled: kept") << QMessageBox::Cancel << QStringLiteral("Пушкин");
}

void TstLatLonEdit::places()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(QString, settlement);

    QString bound = QStringLiteral("Пушкин");
    LatLonEdit edit(QStringLiteral("Координаты"), MapPoint{30.5, 59.75}, &bound);
    QPointF asked;
    connect(&edit, &LatLonEdit::querryPlaces, this, [&asked](QPointF point, QStringList&) { asked = point; });
    auto* bind = edit.findChild<QPushButton*>(QStringLiteral("bind"));
    QVERIFY(bind && !bind->icon().isNull());
    QStringList offered;
    ModalAnswerer answers;
    answers.handleNext([&offered, answer](QWidget* modal) {
        if (auto* input = qobject_cast<QInputDialog*>(modal))
            offered = input->comboBoxItems();
        ModalAnswerer::click(modal, answer);
    });
    bind->click();
    QCOMPARE(answers.seen(), QStringList{"QInputDialog: Ближайшие населенные пункты: в радиусе 100 км:"});
    QCOMPARE(offered, QStringList{"[отвязать]"});
    QCOMPARE(asked, QPointF(qDegreesToRadians(30.5), qDegreesToRadians(59.75)));
    QCOMPARE(bound, settlement);
    QCOMPARE(edit.findChild<QLineEdit*>(QStringLiteral("settlement"))->text(), settlement);
}

QTEST_MAIN(TstLatLonEdit)
#include "tst_latlonedit.moc"
