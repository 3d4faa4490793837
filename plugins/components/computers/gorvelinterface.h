#pragma once

#include "componentplugininterface.h"

// Gorvel: the computer editor.
class GorvelInterface : public ComponentPluginInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OrvanePluginInterface_iid)
    Q_INTERFACES(OrvanePluginInterface)

public:
    OrvanePlugin* createPlugin() override;
};
