// Stands in for the engine's UObject/UObjectGlobals.h: making, finding, loading and collecting objects.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

class UClass;
class UObject;
class UPackage;
class UPackageMap;
class FArchive;
class FObjectInstancingGraph;
struct FLinkerInstancingContext;

/** Passed to constructors declared by GENERATED_UCLASS_BODY; the stand-in's carries the object being made. */
class FObjectInitializer
{
public:
	FObjectInitializer() = default;
	explicit FObjectInitializer(UObject* InObj)
		: Obj(InObj)
	{
	}
	UObject* GetObj() const { return Obj; }
	/** The initializer of the object under construction. */
	static const FObjectInitializer& Get();
	template <class TReturnType>
	TReturnType* CreateDefaultSubobject(UObject* Outer, FName SubobjectName, bool bTransient = false) const;

private:
	UObject* Obj = nullptr;
};

namespace HostObjects
{
/** Makes an object of Class inside Outer; a name already taken in Outer is a fatal error, as in the engine. */
UObject* StaticConstructObject(const UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags);
} // namespace HostObjects

/** The single "/Engine/Transient" package: its objects are never saved nor listed as assets. */
UPackage* GetTransientPackage();

template <class T>
T* NewObject(UObject* Outer = (UObject*)GetTransientPackage())
{
	return static_cast<T*>(HostObjects::StaticConstructObject(T::StaticClass(), Outer, NAME_None, RF_NoFlags));
}

template <class T>
T* NewObject(UObject* Outer, FName Name, EObjectFlags Flags = RF_NoFlags, UObject* Template = nullptr,
	bool bCopyTransientsFromClassDefaults = false, FObjectInstancingGraph* InInstanceGraph = nullptr)
{
	(void)Template;
	(void)bCopyTransientsFromClassDefaults;
	(void)InInstanceGraph;
	return static_cast<T*>(HostObjects::StaticConstructObject(T::StaticClass(), Outer, Name, Flags));
}

template <class T>
T* NewObject(UObject* Outer, const UClass* Class, FName Name = NAME_None, EObjectFlags Flags = RF_NoFlags,
	UObject* Template = nullptr, bool bCopyTransientsFromClassDefaults = false, FObjectInstancingGraph* InInstanceGraph = nullptr,
	UPackage* InExternalPackage = nullptr)
{
	(void)Template;
	(void)bCopyTransientsFromClassDefaults;
	(void)InInstanceGraph;
	(void)InExternalPackage;
	return static_cast<T*>(HostObjects::StaticConstructObject(Class, Outer, Name, Flags));
}

/** A name in Outer that no object uses yet: BaseName (or the class name) with "_N". */
FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName = NAME_None);

/** The object named Name in InOuter, or, without an outer, at the full path Name; nullptr when none. */
UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, bool ExactClass = false);
UObject* StaticFindObjectFast(UClass* Class, UObject* InOuter, FName InName, bool ExactClass = false,
	EObjectFlags ExclusiveFlags = RF_NoFlags);

template <class T>
T* FindObject(UObject* Outer, const TCHAR* Name, bool ExactClass = false)
{
	return (T*)StaticFindObject(T::StaticClass(), Outer, Name, ExactClass);
}

/**
 * Finds the object in memory, else loads its package from disk and finds it there. Returns nullptr (with a warning
 * unless LOAD_NoWarn) when it is missing or not of Class.
 */
UObject* StaticLoadObject(UClass* Class, UObject* InOuter, const TCHAR* Name, const TCHAR* Filename = nullptr,
	uint32 LoadFlags = LOAD_None, UPackageMap* Sandbox = nullptr, bool bAllowObjectReconciliation = true,
	const FLinkerInstancingContext* InstancingContext = nullptr);

template <class T>
T* LoadObject(UObject* Outer, const TCHAR* Name, const TCHAR* Filename = nullptr, uint32 LoadFlags = LOAD_None,
	UPackageMap* Sandbox = nullptr, const FLinkerInstancingContext* InstancingContext = nullptr)
{
	return (T*)StaticLoadObject(T::StaticClass(), Outer, Name, Filename, LoadFlags, Sandbox, true, InstancingContext);
}

/** The package in memory, else read from its file under the mounted content folder; nullptr when there is none. */
UPackage* LoadPackage(UPackage* InOuter, const TCHAR* InLongPackageName, uint32 LoadFlags,
	FArchive* InReaderOverride = nullptr, const FLinkerInstancingContext* InstancingContext = nullptr);

/** The package of that long name, made empty in memory when it does not exist yet. */
UPackage* CreatePackage(const TCHAR* PackageName);

/**
 * Destroys every object marked as garbage, and everything inside it. The stand-in cannot trace references, so it
 * collects only what was marked; references held in TObjectPtr and TWeakObjectPtr read as null afterwards.
 */
void CollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge = true);
bool IsGarbageCollecting();

template <class TReturnType>
TReturnType* FObjectInitializer::CreateDefaultSubobject(UObject* Outer, FName SubobjectName, bool bTransient) const
{
	return static_cast<TReturnType*>(HostObjects::StaticConstructObject(TReturnType::StaticClass(), Outer,
		SubobjectName, bTransient ? (RF_DefaultSubObject | RF_Transient) : RF_DefaultSubObject));
}
