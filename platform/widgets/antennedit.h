#pragma once

#include "commonrecords.h"

#include <QList>
#include <QWidget>

class QComboBox;

namespace Common {

// Chooses one antenna of a list, in a combo box.
class AntennEdit : public QWidget
{
    Q_OBJECT

public:
    explicit AntennEdit(QWidget* parent = nullptr);

    // The antennas offered, in order; none is chosen afterwards.
    void setAntenns(const QList<Antenna>& antennas);
    // Chooses the first antenna of that pattern number; false, and none chosen, when there is none.
    virtual bool setCurrentDiagram(int diagram);
    // Whether an antenna is chosen.
    bool hasCurrent() const;
    // The chosen antenna, whole; a default antenna when none is chosen.
    Antenna currentAntenna() const;

private:
    QComboBox* m_box;
    QList<Antenna> m_antennas;
};

} // namespace Common
