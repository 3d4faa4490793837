#include "fennickinterface.h"

#include "antennacontroldata.h"
#include "standardplugin.h"

OrvanePlugin* FennickInterface::createPlugin()
{
    return new StandardPlugin(tr("РПУ антенн"), new AntennaControlData());
}
