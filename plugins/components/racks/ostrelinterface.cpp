#include "ostrelinterface.h"

#include "rackdata.h"
#include "standardplugin.h"

OrvanePlugin* OstrelInterface::createPlugin()
{
    return new StandardPlugin(tr("Стойки"), new RackData());
}
