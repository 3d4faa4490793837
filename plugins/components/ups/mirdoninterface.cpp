#include "mirdoninterface.h"

#include "upsdata.h"
#include "standardplugin.h"

OrvanePlugin* MirdonInterface::createPlugin()
{
    return new StandardPlugin(tr("ИБП"), new UpsData());
}
