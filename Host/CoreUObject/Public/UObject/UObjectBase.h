// Stands in for the engine's UObject/UObjectBase.h: the low-level part of every object (class, name, outer, flags,
// and its slot in the process-wide object list, which weak pointers use to notice a destroyed object).
#pragma once

#include "CoreTypes.h"
#include "UObject/NameTypes.h"
#include "UObject/ObjectMacros.h"

class UClass;
class UObject;
class UPackage;

namespace HostObjects
{
struct FObjectAccess;
}

class UObjectBase
{
public:
	UObjectBase();
	UObjectBase(const UObjectBase&) = delete;
	UObjectBase& operator=(const UObjectBase&) = delete;
	virtual ~UObjectBase();

	UClass* GetClass() const { return ClassPrivate; }
	UObject* GetOuter() const { return OuterPrivate; }
	FName GetFName() const { return NamePrivate; }
	/** The object's slot in the process-wide object list. */
	int32 GetUniqueID() const { return InternalIndex; }
	EObjectFlags GetFlags() const { return ObjectFlags; }
	bool IsValidLowLevel() const;

protected:
	void SetFlagsTo(EObjectFlags NewFlags) { ObjectFlags = NewFlags; }

private:
	friend struct HostObjects::FObjectAccess;

	UClass* ClassPrivate = nullptr;
	FName NamePrivate;
	UObject* OuterPrivate = nullptr;
	EObjectFlags ObjectFlags = RF_NoFlags;
	int32 InternalIndex = INDEX_NONE;
};

/** False before the object system is ready; the stand-in's is ready from the first object on. */
bool UObjectInitialized();
