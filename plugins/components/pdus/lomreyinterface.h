#pragma once

#include "componentplugininterface.h"

// Lomrey: the power distribution unit editor.
class LomreyInterface : public ComponentPluginInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OrvanePluginInterface_iid)
    Q_INTERFACES(OrvanePluginInterface)

public:
    OrvanePlugin* createPlugin() override;
};
