// Stands in for the header the engine's header tool would write for the test object in Host/Tests/ObjectSystemTests.cpp.
// No #pragma once: each inclusion sets the class that the next GENERATED_BODY() declares.
#include "UObject/ObjectMacros.h"

#undef HOST_GENERATED_CLASS
#define HOST_GENERATED_CLASS(Body) Body(UObjectSystemTestObject, USkeleton, HostTests)
