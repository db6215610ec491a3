// Stands in for the engine's UObject/Class.h: class objects, with the class tree that IsChildOf and IsA walk.
#pragma once

#include "UObject/Object.h"

class FTopLevelAssetPath;

class UField : public UObject
{
	HOST_DECLARE_CLASS(UField, UObject, CoreUObject)
};

class UStruct : public UField
{
	HOST_DECLARE_CLASS(UStruct, UField, CoreUObject)
public:
	/** True for the struct itself and everything derived from it. */
	bool IsChildOf(const UStruct* SomeBase) const;
	template <class T>
	bool IsChildOf() const
	{
		return IsChildOf(T::StaticClass());
	}
	UStruct* GetSuperStruct() const { return SuperStruct; }

protected:
	UStruct* SuperStruct = nullptr;
	friend UClass* HostObjects::RegisterClass(const TCHAR*, UClass*, const TCHAR*, UObject* (*)(), uint32);
};

enum EClassFlags : uint32
{
	CLASS_None = 0x00000000u,
	CLASS_Abstract = 0x00000001u,
	CLASS_Native = 0x00000080u,
};

class UClass : public UStruct
{
	HOST_DECLARE_CLASS(UClass, UStruct, CoreUObject)
public:
	UClass* GetSuperClass() const { return (UClass*)SuperStruct; }
	bool HasAnyClassFlags(EClassFlags FlagsToCheck) const { return (ClassFlags & FlagsToCheck) != 0; }
	/** "/Script/Engine" + "SkeletalMesh". */
	FTopLevelAssetPath GetClassPathName() const;
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** The name of the module's script package, "/Script/Engine". */
	const FString& GetHostScriptPackage() const { return ScriptPackage; }
	/** Builds a new instance; the object system sets name, outer and flags first. Null for abstract classes. */
	UObject* HostConstructInstance() const { return Construct ? Construct() : nullptr; }
#endif

private:
	friend UClass* HostObjects::RegisterClass(const TCHAR*, UClass*, const TCHAR*, UObject* (*)(), uint32);
	FString ScriptPackage;
	UObject* (*Construct)() = nullptr;
	EClassFlags ClassFlags = CLASS_Native;
};

#include "Templates/Casts.h"
