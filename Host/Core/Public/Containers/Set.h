// Stand-in for the engine's Containers/Set.h; TSet lives beside TMap in this stand-in.
#pragma once

#include "Containers/Map.h"
