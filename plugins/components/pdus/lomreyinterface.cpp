#include "lomreyinterface.h"

#include "pdudata.h"
#include "standardplugin.h"

OrvanePlugin* LomreyInterface::createPlugin()
{
    return new StandardPlugin(tr("Распределители питания"), new PduData());
}
