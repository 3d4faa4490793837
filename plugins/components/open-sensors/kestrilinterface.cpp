#include "kestrilinterface.h"

#include "opensensordata.h"
#include "standardplugin.h"

OrvanePlugin* KestrilInterface::createPlugin()
{
    return new StandardPlugin(tr("Датчики открытия"), new OpenSensorData());
}
