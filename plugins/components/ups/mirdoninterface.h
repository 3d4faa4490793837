#pragma once

#include "componentplugininterface.h"

// Mirdon: the UPS editor.
class MirdonInterface : public ComponentPluginInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OrvanePluginInterface_iid)
    Q_INTERFACES(OrvanePluginInterface)

public:
    OrvanePlugin* createPlugin() override;
};
