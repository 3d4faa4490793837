#include "orvane_quorven.h"

#include "icons.h"
#include "quorven.h"

Orvane_Quorven::Orvane_Quorven(QObject* parent) : QObject(parent)
{
    qInitResources_icons(); // the settlement button's pin
}

Orvane_Quorven::~Orvane_Quorven()
{
    qCleanupResources_icons();
}

OrvanePlugin* Orvane_Quorven::createPlugin()
{
    return new Quorven;
}

void Orvane_Quorven::destroyPlugin(OrvanePlugin* plugin)
{
    delete plugin;
}
