#pragma once

#include "orvaneplugininterface.h"

#include <QObject>

// The library's root object: makes and destroys the direction-finder editor.
class Orvane_Quorven : public QObject, public OrvanePluginInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OrvanePluginInterface_iid)
    Q_INTERFACES(OrvanePluginInterface)

public:
    explicit Orvane_Quorven(QObject* parent = nullptr);
    ~Orvane_Quorven() override;

    OrvanePlugin* createPlugin() override;
    void destroyPlugin(OrvanePlugin* plugin) override;
};
