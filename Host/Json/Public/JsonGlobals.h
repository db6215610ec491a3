// Stand-in for the engine's JsonGlobals.h: the Json module's log category (declared with the core's categories).
#pragma once

#include "CoreMinimal.h"
