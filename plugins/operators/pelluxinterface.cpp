#include "pelluxinterface.h"

#include "pellux.h"

OrvanePlugin* PelluxInterface::createPlugin()
{
    return new Pellux;
}

void PelluxInterface::destroyPlugin(OrvanePlugin* plugin)
{
    delete plugin;
}
