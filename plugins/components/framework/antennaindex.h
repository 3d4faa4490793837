#pragma once

#include "commonrecords.h"
#include "textindex.h"

#include <QList>

// Adds antennas to an index of pasted texts, each as its uid: by pattern and azimuth as an
// antenna control's cell shows them ("D:2/A:90"), as the antenna lists show them
// ("D:2/A:90 (№21)"), and by uid alone ("№21").
void addAntennas(TextIndex& index, const QList<Common::Antenna>& antennas);
