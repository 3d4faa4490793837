#include "standarddata.h"

StandardData::~StandardData() = default;
