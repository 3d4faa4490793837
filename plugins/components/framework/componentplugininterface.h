#pragma once

#include "orvaneplugininterface.h"

#include <QObject>

class OrvanePlugin;

// The base of a component plugin library's root object. A library's root class adds its
// metadata and createPlugin(): a StandardPlugin with its title and its ComponentData.
class ComponentPluginInterface : public QObject, public OrvanePluginInterface
{
    Q_OBJECT
    Q_INTERFACES(OrvanePluginInterface)

public:
    explicit ComponentPluginInterface(QObject* parent = nullptr);
    ~ComponentPluginInterface() override;

    void destroyPlugin(OrvanePlugin* plugin) override;
};
