// Stands in for the engine's UObject/UObjectHash.h: lookups of objects by outer.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

class UObject;
class UClass;

/** Objects whose outer is Outer (and, with bIncludeNestedObjects, everything inside those), garbage excluded. */
void GetObjectsWithOuter(const UObject* Outer, TArray<UObject*>& Results, bool bIncludeNestedObjects = true,
	EObjectFlags ExclusionFlags = RF_NoFlags);
/** Every live object of the class or a class derived from it. */
void GetObjectsOfClass(const UClass* ClassToLookFor, TArray<UObject*>& Results, bool bIncludeDerivedClasses = true,
	EObjectFlags ExcludeFlags = RF_ClassDefaultObject);
