#pragma once

#include <QtPlugin>

class OrvanePlugin;

// The factory that every plugin library's root object implements.
class OrvanePluginInterface
{
public:
    virtual ~OrvanePluginInterface() {}
    // A new plugin object, or null when none can be made.
    virtual OrvanePlugin* createPlugin() = 0;
    // Deletes an object that createPlugin returned; does nothing for null.
    virtual void destroyPlugin(OrvanePlugin* plugin) = 0;
};

#define OrvanePluginInterface_iid "Orvane.Plugin.Interface/0.01"
Q_DECLARE_INTERFACE(OrvanePluginInterface, OrvanePluginInterface_iid)
