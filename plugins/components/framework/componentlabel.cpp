#include "componentlabel.h"

QString componentLabel(const CoConfig::AntennaControl& control)
{
    if (control.group.isEmpty())
        return QString::number(control.rpu);
    return QStringLiteral("%1 (%2)").arg(QString::number(control.rpu), control.group);
}
