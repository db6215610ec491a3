// Stands in for the engine's Kismet/BlueprintFunctionLibrary.h: the base of static function libraries.
#pragma once

#include "UObject/Object.h"

class UBlueprintFunctionLibrary : public UObject
{
	HOST_DECLARE_CLASS(UBlueprintFunctionLibrary, UObject, Engine)
};
