#pragma once

#include "commonrecords.h"

#include <QList>
#include <QWidget>

#include <functional>

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
    // Chooses the antenna with that uid; false, and none chosen, when there is none.
    bool setCurrentUid(int uid);
    // Whether the user chose another antenna than the one set.
    bool isChanged() const;
    // Whether an antenna is chosen.
    bool hasCurrent() const;
    // The chosen antenna, whole; a default antenna when none is chosen.
    Antenna currentAntenna() const;

private:
    bool choose(const std::function<bool(const Antenna&)>& match);

    QComboBox* m_box;
    QList<Antenna> m_antennas;
    int m_setIndex = -1;
};

} // namespace Common
