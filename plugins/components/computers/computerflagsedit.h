#pragma once

#include "computerflags.h"

#include <QHash>
#include <QWidget>

class QCheckBox;

namespace CoConfig {

// A check box per computer flag, in the order of Computers::Flags.
class ComputerFlagsEdit : public QWidget
{
public:
    explicit ComputerFlagsEdit(QWidget* parent = nullptr);

    // Checks the boxes of the set and no other; a flag without a box is ignored.
    void setFlags(const ComputerFlags& flags);
    ComputerFlags flags() const;

private:
    QHash<ComputerFlag, QCheckBox*> m_boxes;
    QHash<QCheckBox*, ComputerFlag> m_flags;
};

} // namespace CoConfig
