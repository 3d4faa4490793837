#pragma once

#include "orvaneplugininterface.h"

#include <QObject>

// The plugin library's root object: makes and destroys the Rastel plugin object.
class Rastel_Interface : public QObject, public OrvanePluginInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OrvanePluginInterface_iid)
    Q_INTERFACES(OrvanePluginInterface)

public:
    OrvanePlugin* createPlugin() override;
    void destroyPlugin(OrvanePlugin* plugin) override;
};
