#include "latlonedit.h"

#include "formatdms.h"

#include <QComboBox>
#include <QGridLayout>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtMath>

namespace {

const QString Unbind = QStringLiteral("[отвязать]");

QSpinBox* spinBox(int maximum, QChar suffix)
{
    auto* box = new QSpinBox;
    box->setRange(0, maximum);
    box->setSuffix(QString(suffix));
    return box;
}

} // namespace

LatLonEdit::LatLonEdit(const QString& title, const MapPoint& point, QString* settlement, QWidget* parent)
    : QGroupBox(title, parent), m_settlement(settlement)
{
    new QGridLayout(this);
    m_latitude = addRow(0, QStringLiteral("latitude"), QStringLiteral("Широта"), 89, QStringLiteral("С"),
                        QStringLiteral("Ю"));
    m_longitude = addRow(1, QStringLiteral("longitude"), QStringLiteral("Долгота"), 179, QStringLiteral("В"),
                         QStringLiteral("З"));
    setLatLon(point);
    if (!m_settlement)
        return;
    addSettlementRow();
    for (const Boxes* boxes : {&m_latitude, &m_longitude}) {
        for (QSpinBox* box : {boxes->degrees, boxes->minutes, boxes->seconds})
            connect(box, &QSpinBox::valueChanged, this, &LatLonEdit::onChanged);
        connect(boxes->hemisphere, &QComboBox::currentIndexChanged, this, &LatLonEdit::onChanged);
    }
}

LatLonEdit::Boxes LatLonEdit::addRow(int row, const QString& name, const QString& label, int maxDegrees,
                                     const QString& positive, const QString& negative)
{
    auto* grid = static_cast<QGridLayout*>(layout());
    Boxes boxes{spinBox(maxDegrees, QChar(0x00B0)), spinBox(59, QLatin1Char('\'')), spinBox(59, QLatin1Char('"')),
                new QComboBox, 0.0, {}};
    boxes.hemisphere->addItems({positive, negative});
    boxes.degrees->setObjectName(name + QStringLiteral("Degrees"));
    boxes.minutes->setObjectName(name + QStringLiteral("Minutes"));
    boxes.seconds->setObjectName(name + QStringLiteral("Seconds"));
    boxes.hemisphere->setObjectName(name + QStringLiteral("Hemisphere"));
    auto* title = new QLabel(label);
    title->setBuddy(boxes.degrees);
    grid->addWidget(title, row, 0);
    grid->addWidget(boxes.degrees, row, 1);
    grid->addWidget(boxes.minutes, row, 2);
    grid->addWidget(boxes.seconds, row, 3);
    grid->addWidget(boxes.hemisphere, row, 4);
    return boxes;
}

void LatLonEdit::addSettlementRow()
{
    auto* grid = static_cast<QGridLayout*>(layout());
    m_settlementEdit = new QLineEdit(*m_settlement);
    m_settlementEdit->setObjectName(QStringLiteral("settlement"));
    m_settlementEdit->setReadOnly(true);
    auto* bind = new QPushButton;
    bind->setObjectName(QStringLiteral("bind"));
    bind->setIcon(QIcon(QStringLiteral(":/icons/resources/pin.png")));
    bind->setToolTip(QStringLiteral("Привязать"));
    bind->setFixedWidth(36);
    connect(bind, &QPushButton::clicked, this, &LatLonEdit::onPlaces);
    grid->addWidget(new QLabel(QStringLiteral("Насел. пункт")), 2, 0);
    grid->addWidget(m_settlementEdit, 2, 1, 1, 3);
    grid->addWidget(bind, 2, 4);
}

QList<int> LatLonEdit::shownBy(const Boxes& boxes)
{
    return {boxes.degrees->value(), boxes.minutes->value(), boxes.seconds->value(), boxes.hemisphere->currentIndex()};
}

double LatLonEdit::read(const Boxes& boxes)
{
    if (shownBy(boxes) == boxes.shown)
        return boxes.written;
    return fromDms(Dms{boxes.degrees->value(), boxes.minutes->value(), boxes.seconds->value()},
                   boxes.hemisphere->currentIndex() != 0);
}

void LatLonEdit::write(Boxes& boxes, double value)
{
    Dms dms = toDms(value);
    // Beyond the degrees' range the boxes show the largest angle they can.
    if (dms.degrees > boxes.degrees->maximum())
        dms = Dms{boxes.degrees->maximum(), 59, 59};
    boxes.hemisphere->setCurrentIndex(value < 0 ? 1 : 0);
    boxes.degrees->setValue(dms.degrees);
    boxes.minutes->setValue(dms.minutes);
    boxes.seconds->setValue(dms.seconds);
    boxes.written = value;
    boxes.shown = shownBy(boxes);
}

MapPoint LatLonEdit::point() const
{
    return MapPoint{read(m_longitude), read(m_latitude)};
}

void LatLonEdit::setLatLon(MapPoint point)
{
    write(m_latitude, point.latitude);
    write(m_longitude, point.longitude);
}

void LatLonEdit::onPlaces()
{
    const MapPoint here = point();
    QStringList places;
    emit querryPlaces(QPointF(qDegreesToRadians(here.longitude), qDegreesToRadians(here.latitude)), places);
    places.append(Unbind);
    bool chosen = false;
    const QString answer = QInputDialog::getItem(this, QStringLiteral("Ближайшие населенные пункты"),
                                                 QStringLiteral("в радиусе 100 км:"), places, 0, false, &chosen);
    // Cancel keeps the settlement as it was.
    if (!chosen || !m_settlement)
        return;
    const QString name = answer == Unbind ? QString() : answer;
    *m_settlement = name;
    m_settlementEdit->setText(name);
}

void LatLonEdit::onChanged()
{
    if (!m_settlement || m_settlement->isEmpty())
        return;
    m_settlement->clear();
    m_settlementEdit->clear();
}
