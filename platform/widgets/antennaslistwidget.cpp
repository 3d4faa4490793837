#include "antennaslistwidget.h"

#include "antennas.h"

#include <QSet>

namespace Common {

AntennasListWidget::AntennasListWidget(const QList<Antenna>& antennas, QWidget* parent)
    : QListWidget(parent), m_antennas(antennas)
{
    setSelectionMode(QAbstractItemView::MultiSelection);
    for (const Antenna& antenna : antennas)
        addItem(antennaText(antenna));
}

void AntennasListWidget::setSelectedAntennas(const QList<Antenna>& antennas)
{
    QSet<int> uids;
    for (const Antenna& antenna : antennas) {
        if (antenna.uid >= 0) // a default antenna stands for one that no longer exists
            uids.insert(antenna.uid);
    }
    for (int row = 0; row < count(); ++row)
        item(row)->setSelected(uids.contains(m_antennas.at(row).uid));
}

QList<Antenna> AntennasListWidget::selectedAntennas() const
{
    QList<Antenna> selected;
    for (int row = 0; row < count(); ++row) {
        if (item(row)->isSelected())
            selected.append(m_antennas.at(row));
    }
    return selected;
}

} // namespace Common
