#include "rastel_interface.h"

#include "rastel.h"

OrvanePlugin* Rastel_Interface::createPlugin()
{
    return new Rastel;
}

void Rastel_Interface::destroyPlugin(OrvanePlugin* plugin)
{
    delete plugin;
}
