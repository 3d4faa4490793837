#include "hastorinterface.h"

#include "antennapooldata.h"
#include "standardplugin.h"

OrvanePlugin* HastorInterface::createPlugin()
{
    return new StandardPlugin(tr("Наборы антенн"), new AntennaPoolData());
}
