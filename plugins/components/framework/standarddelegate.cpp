#include "standarddelegate.h"

StandardDelegate::~StandardDelegate() = default;

void StandardDelegate::setComplexConfig(CoConfig::ComplexConfigInterface*) {}
