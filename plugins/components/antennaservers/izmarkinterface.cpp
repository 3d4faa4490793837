#include "izmarkinterface.h"

#include "antennaserverdata.h"
#include "standardplugin.h"

OrvanePlugin* IzmarkInterface::createPlugin()
{
    return new StandardPlugin(tr("Серверы антенн"), new AntennaServerData());
}
