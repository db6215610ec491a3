// Stands in for the engine's SlateOptMacros.h: markers around long widget-building functions. The engine may turn
// optimisation off inside them to speed up its builds; here they mark nothing.
#pragma once

#define BEGIN_SLATE_FUNCTION_BUILD_OPTIMIZATION
#define END_SLATE_FUNCTION_BUILD_OPTIMIZATION
