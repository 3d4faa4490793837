#include "pavrikinterface.h"

#include "pavrik.h"

OrvanePlugin* PavrikInterface::createPlugin()
{
    return new Pavrik;
}

void PavrikInterface::destroyPlugin(OrvanePlugin* plugin)
{
    delete plugin;
}
