#include "componentplugininterface.h"

#include "icons.h"
#include "orvaneplugin.h"

ComponentPluginInterface::ComponentPluginInterface(QObject* parent) : QObject(parent)
{
    qInitResources_icons(); // the edit actions' icons
}

ComponentPluginInterface::~ComponentPluginInterface()
{
    qCleanupResources_icons();
}

void ComponentPluginInterface::destroyPlugin(OrvanePlugin* plugin)
{
    delete plugin;
}
