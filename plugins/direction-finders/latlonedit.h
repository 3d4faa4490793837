#pragma once

#include "mappoint.h"

#include <QGroupBox>
#include <QPointF>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QSpinBox;

// Latitude and longitude in whole degrees, minutes and seconds with a hemisphere each and,
// when the host passes a settlement name, a read-only settlement row with a button that offers
// the settlements near the point. Moving the point unbinds the settlement.
class LatLonEdit : public QGroupBox
{
    Q_OBJECT

public:
    // settlement: the host's name of the bound settlement, kept up to date; null for no settlement row.
    LatLonEdit(const QString& title, const MapPoint& point, QString* settlement = nullptr, QWidget* parent = nullptr);

    MapPoint point() const;

Q_SIGNALS:
    // point: longitude (x) and latitude (y) in radians; a receiver appends settlement names to list.
    void querryPlaces(QPointF point, QStringList& list);

public Q_SLOTS:
    void setLatLon(MapPoint point);
    void onPlaces();
    void onChanged();

private:
    struct Boxes
    {
        QSpinBox* degrees;
        QSpinBox* minutes;
        QSpinBox* seconds;
        QComboBox* hemisphere;
        // The value last set and the boxes as it showed them: while they show that, it reads back
        // exactly, even a value between two seconds or beyond the boxes' range.
        double written = 0.0;
        QList<int> shown;
    };

    // Boxes named <name>Degrees, <name>Minutes, <name>Seconds and <name>Hemisphere.
    Boxes addRow(int row, const QString& name, const QString& label, int maxDegrees, const QString& positive,
                 const QString& negative);
    void addSettlementRow();
    static QList<int> shownBy(const Boxes& boxes);
    static double read(const Boxes& boxes);
    static void write(Boxes& boxes, double value);

    Boxes m_latitude;
    Boxes m_longitude;
    QLineEdit* m_settlementEdit = nullptr;
    QString* m_settlement;
};
