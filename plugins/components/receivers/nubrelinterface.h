#pragma once

#include "componentplugininterface.h"

// Nubrel: the receiver editor.
class NubrelInterface : public ComponentPluginInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OrvanePluginInterface_iid)
    Q_INTERFACES(OrvanePluginInterface)

public:
    OrvanePlugin* createPlugin() override;
};
