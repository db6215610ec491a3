// Stand-in for the engine's Delegates/DelegateCombinations.h; the macros live in Delegate.h here.
#pragma once

#include "Delegates/Delegate.h"
