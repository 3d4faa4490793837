#pragma once

// Every record type of the configuration store, in one place.
#include "componentrecords.h"
#include "complexrecords.h"
#include "commonrecords.h"
