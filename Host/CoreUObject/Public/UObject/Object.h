// Stands in for the engine's UObject/Object.h: the base of every engine object.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"
#include "UObject/UObjectBaseUtility.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/WeakObjectPtrTemplates.h"

class FHostArchive;
class UWorld;

class UObject : public UObjectBaseUtility
{
public:
	typedef UObject ThisClass;
	static UClass* StaticClass();
	static inline UClass* const HostClassRegistrant = StaticClass();
	static const TCHAR* StaticPackage() { return TEXT("/Script/CoreUObject"); }

	UObject() = default;
	explicit UObject(const FObjectInitializer&) {}

	/** Records the object in the open transaction (when it is transactional) and, if asked, dirties its package. */
	virtual bool Modify(bool bAlwaysMarkDirty = true);
	/**
	 * Gives the object a new name and/or outer (nullptr keeps the current one); a name already used in the target
	 * outer fails. REN_Test only asks whether it would succeed.
	 */
	virtual bool Rename(const TCHAR* NewName = nullptr, UObject* NewOuter = nullptr, ERenameFlags Flags = REN_None);
	virtual void PostInitProperties() {}
	virtual void PostLoad() {}
	virtual void PostRename(UObject* OldOuter, const FName OldName)
	{
		(void)OldOuter;
		(void)OldName;
	}
	virtual void PostEditChange() {}
	virtual void BeginDestroy() {}
	virtual void FinishDestroy() {}
	virtual bool ConditionalBeginDestroy();
	virtual UWorld* GetWorld() const { return nullptr; }
	/** An asset is a public, non-transient object directly inside a package that is not the transient one. */
	virtual bool IsAsset() const;
	virtual FString GetDesc() { return FString(); }
	virtual FString GetDetailedInfoInternal() const { return FString(TEXT("No_Detailed_Info_Specified")); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/**
	 * Stand-in only: writes or reads the object's own state (the engine serialises reflected properties). Used by
	 * package files and by undo; every class that holds state calls Super first.
	 */
	virtual void HostSerialize(FHostArchive& Ar) { (void)Ar; }
#endif

	template <class TReturnType>
	TReturnType* CreateDefaultSubobject(FName SubobjectName, bool bTransient = false)
	{
		return static_cast<TReturnType*>(
			CreateDefaultSubobject(SubobjectName, TReturnType::StaticClass(), TReturnType::StaticClass(), true, bTransient));
	}
	UObject* CreateDefaultSubobject(FName SubobjectFName, UClass* ReturnType, UClass* ClassToCreateByDefault,
		bool bIsRequired, bool bIsTransient);
};

/** True for a live object that is not marked as garbage. */
bool IsValid(const UObject* Test);

#include "UObject/Class.h"
