#pragma once

#include "commonrecords.h"

#include <QList>
#include <QListWidget>

namespace Common {

// Chooses several antennas of a list: one entry per antenna, a click toggles it.
class AntennasListWidget : public QListWidget
{
    Q_OBJECT

public:
    explicit AntennasListWidget(const QList<Antenna>& antennas, QWidget* parent = nullptr);

    // Selects the entries of these antennas, matched by uid; no other entry stays selected.
    void setSelectedAntennas(const QList<Antenna>& antennas);
    // The selected antennas, in the widget's order.
    QList<Antenna> selectedAntennas() const;

private:
    QList<Antenna> m_antennas; // one per entry, in order
};

} // namespace Common
