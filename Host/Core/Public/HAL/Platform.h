// Stand-in for the engine's HAL/Platform.h.
#pragma once

#include "CoreTypes.h"
