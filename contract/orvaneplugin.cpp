#include "orvaneplugin.h"

OrvanePlugin::OrvanePlugin(QObject* parent) : QObject(parent) {}

OrvanePlugin::~OrvanePlugin() = default;

void OrvanePlugin::setComplexConfig(CoConfig::ComplexConfigInterface*) {}
