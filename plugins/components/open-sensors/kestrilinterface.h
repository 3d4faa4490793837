#pragma once

#include "componentplugininterface.h"

// Kestril: the open sensor editor.
class KestrilInterface : public ComponentPluginInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OrvanePluginInterface_iid)
    Q_INTERFACES(OrvanePluginInterface)

public:
    OrvanePlugin* createPlugin() override;
};
