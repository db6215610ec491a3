// Stands in for the engine's UObject/WeakObjectPtr.h: a reference by object slot and serial number, so that it
// reads as null once the object is destroyed or marked as garbage, without keeping the object alive.
#pragma once

#include "CoreTypes.h"
#include "Templates/TypeHash.h"

class UObject;

namespace HostObjects
{
/** The object in that slot if it still carries that serial number (and, unless asked, is not garbage). */
UObject* ResolveSlot(int32 Index, int32 SerialNumber, bool bEvenIfGarbage);
/** The serial number of the object now in that slot. */
int32 GetSlotSerialNumber(int32 Index);
} // namespace HostObjects

struct FWeakObjectPtr
{
	FWeakObjectPtr() = default;
	FWeakObjectPtr(const UObject* Object) { operator=(Object); }
	FWeakObjectPtr& operator=(const UObject* Object);

	UObject* Get() const { return HostObjects::ResolveSlot(ObjectIndex, ObjectSerialNumber, false); }
	UObject* Get(bool bEvenIfGarbage) const
	{
		return HostObjects::ResolveSlot(ObjectIndex, ObjectSerialNumber, bEvenIfGarbage);
	}
	bool IsValid(bool bEvenIfGarbage = false, bool bThreadsafeTest = false) const
	{
		(void)bThreadsafeTest;
		return Get(bEvenIfGarbage) != nullptr;
	}
	/** Once pointed at an object that is gone now. */
	bool IsStale(bool bIncludingGarbage = true) const
	{
		return ObjectSerialNumber != 0 && Get(!bIncludingGarbage) == nullptr;
	}
	bool IsExplicitlyNull() const { return ObjectIndex == INDEX_NONE; }
	void Reset()
	{
		ObjectIndex = INDEX_NONE;
		ObjectSerialNumber = 0;
	}
	bool operator==(const FWeakObjectPtr& Other) const
	{
		return ObjectIndex == Other.ObjectIndex && ObjectSerialNumber == Other.ObjectSerialNumber;
	}
	bool operator!=(const FWeakObjectPtr& Other) const { return !(*this == Other); }
	friend uint32 GetTypeHash(const FWeakObjectPtr& P) { return HashCombine((uint32)P.ObjectIndex, (uint32)P.ObjectSerialNumber); }

private:
	int32 ObjectIndex = INDEX_NONE;
	int32 ObjectSerialNumber = 0;
};
