// Stands in for the engine's UObject/UObjectBaseUtility.h: names, paths, flags and class tests of an object.
#pragma once

#include "Containers/UnrealString.h"
#include "UObject/UObjectBase.h"

class UObjectBaseUtility : public UObjectBase
{
public:
	void SetFlags(EObjectFlags NewFlags) { SetFlagsTo(GetFlags() | NewFlags); }
	void ClearFlags(EObjectFlags FlagsToClear) { SetFlagsTo(GetFlags() & ~FlagsToClear); }
	bool HasAnyFlags(EObjectFlags FlagsToCheck) const { return (GetFlags() & FlagsToCheck) != 0; }
	bool HasAllFlags(EObjectFlags FlagsToCheck) const { return (GetFlags() & FlagsToCheck) == FlagsToCheck; }

	/** Marks the object as garbage: weak pointers stop returning it at once; CollectGarbage destroys it. */
	void MarkAsGarbage();
	void ClearGarbage();
	bool IsGarbage() const;
	void AddToRoot();
	void RemoveFromRoot();
	bool IsRooted() const;

	FString GetName() const { return GetFName().ToString(); }
	/** "/Game/A/walk.walk" for an asset, ":" before a sub-object of an asset, "." between deeper levels. */
	FString GetPathName(const UObject* StopOuter = nullptr) const;
	/** "ClassName /Path/To.Object". */
	FString GetFullName(const UObject* StopOuter = nullptr) const;
	UPackage* GetPackage() const;
	UPackage* GetOutermost() const { return GetPackage(); }
	UObject* GetOutermostObject() const;
	bool IsIn(const UObject* SomeOuter) const;
	bool IsInPackage(const UPackage* SomePackage) const;

	bool IsA(const UClass* SomeBase) const;
	template <class OtherClassType>
	bool IsA() const
	{
		return IsA(OtherClassType::StaticClass());
	}
	template <typename T>
	T* GetTypedOuter() const
	{
		return (T*)GetTypedOuter(T::StaticClass());
	}
	UObject* GetTypedOuter(UClass* Target) const;

	/** Sets the dirty flag of the object's package (not for transient or script packages, nor while loading). */
	bool MarkPackageDirty() const;
};
