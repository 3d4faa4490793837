#include "gorvelinterface.h"

#include "computerdata.h"
#include "standardplugin.h"

OrvanePlugin* GorvelInterface::createPlugin()
{
    return new StandardPlugin(tr("ЭВМы"), new ComputerData());
}
