// Stand-in for the engine's Internationalization/TextInspector.h; FTextInspector lives in Text.h here.
#pragma once

#include "Internationalization/Text.h"
