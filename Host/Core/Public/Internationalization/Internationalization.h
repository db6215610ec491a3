// Stand-in for the engine's Internationalization/Internationalization.h; the text macros live in Text.h here.
#pragma once

#include "Internationalization/Text.h"
