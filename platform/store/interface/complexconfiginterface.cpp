#include "complexconfiginterface.h"

namespace CoConfig {

ComplexConfigInterface::ComplexConfigInterface(QObject* parent) : QObject(parent) {}

ComplexConfigInterface::~ComplexConfigInterface() = default;

} // namespace CoConfig
