#include "orvaneplugin.h"

OrvanePlugin::OrvanePlugin(QObject* parent) : QObject(parent) {}

OrvanePlugin::~OrvanePlugin() = default;

// Empty by design: a plugin that shows nothing of the store need not read it.
void OrvanePlugin::setComplexConfig(CoConfig::ComplexConfigInterface*) {}
