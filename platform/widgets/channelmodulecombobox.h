#pragma once

#include "channelmodule.h"

#include <QComboBox>

namespace Common {

// Chooses a channel's module kind: every kind by its name, none first.
class ChannelModuleComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit ChannelModuleComboBox(QWidget* parent = nullptr);

    // Selects the kind. A number of no known kind gets an entry of its own, so that it is
    // kept when the box is read back unchanged.
    void setCurrent(ChannelModuleType kind);
    // The selected kind; -1 (none) when nothing is selected.
    int current() const;
};

} // namespace Common
