#include "standarddelegate.h"

StandardDelegate::~StandardDelegate() = default;

// Empty by design: only delegates that list records of the store need it.
void StandardDelegate::setComplexConfig(CoConfig::ComplexConfigInterface*) {}
