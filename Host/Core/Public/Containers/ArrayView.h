// Stand-in for the engine's Containers/ArrayView.h; the view lives beside TArray in this stand-in.
#pragma once

#include "Containers/Array.h"
