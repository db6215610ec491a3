// Stands in for the engine's Engine/World.h: a world with its persistent level, and actor spawning.
#pragma once

#include "Engine/EngineTypes.h"
#include "Engine/Level.h"
#include "GameFramework/Actor.h"
#include "UObject/Object.h"

struct FActorSpawnParameters
{
	/** No name: the engine picks ClassName_N. */
	FName Name;
	AActor* Template = nullptr;
	AActor* Owner = nullptr;
	ULevel* OverrideLevel = nullptr;
	ESpawnActorCollisionHandlingMethod SpawnCollisionHandlingOverride = ESpawnActorCollisionHandlingMethod::Undefined;
	uint8 bNoFail : 1 = 0;
	uint8 bDeferConstruction : 1 = 0;
	uint8 bAllowDuringConstructionScript : 1 = 0;
	uint8 bHideFromSceneOutliner : 1 = 0;
	uint8 bTemporaryEditorActor : 1 = 0;
	EObjectFlags ObjectFlags = RF_Transactional;
};

class UWorld : public UObject
{
	HOST_DECLARE_CLASS(UWorld, UObject, Engine)
public:
	TObjectPtr<ULevel> PersistentLevel;
	TEnumAsByte<EWorldType::Type> WorldType = EWorldType::None;

	/**
	 * Makes a world with its persistent level in a package of its own (a "/Temp/" one unless given), as the engine
	 * does for a new, unsaved level.
	 */
	static UWorld* CreateWorld(const EWorldType::Type InWorldType, bool bInformEngineOfWorld, FName WorldName = NAME_None,
		UPackage* InWorldPackage = nullptr);
	virtual UWorld* GetWorld() const override { return const_cast<UWorld*>(this); }
	ULevel* GetCurrentLevel() const { return PersistentLevel.Get(); }

	/** Non-template form. In an open transaction the level is recorded and the actor made transactional. */
	AActor* SpawnActor(UClass* InClass, FVector const* Location = nullptr, FRotator const* Rotation = nullptr,
		const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters());
	AActor* SpawnActor(UClass* Class, FTransform const* Transform,
		const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters());

	template <class T>
	T* SpawnActor(const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		return CastChecked<T>(SpawnActor(T::StaticClass(), (FVector const*)nullptr, (FRotator const*)nullptr, SpawnParameters),
			ECastCheckedType::NullAllowed);
	}
	template <class T>
	T* SpawnActor(FVector const& Location, FRotator const& Rotation,
		const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		return CastChecked<T>(SpawnActor(T::StaticClass(), &Location, &Rotation, SpawnParameters), ECastCheckedType::NullAllowed);
	}
	template <class T>
	T* SpawnActor(UClass* Class, const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		return CastChecked<T>(SpawnActor(Class, (FVector const*)nullptr, (FRotator const*)nullptr, SpawnParameters),
			ECastCheckedType::NullAllowed);
	}
	template <class T>
	T* SpawnActor(UClass* Class, FVector const& Location, FRotator const& Rotation,
		const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		return CastChecked<T>(SpawnActor(Class, &Location, &Rotation, SpawnParameters), ECastCheckedType::NullAllowed);
	}
	template <class T>
	T* SpawnActor(UClass* Class, FTransform const& Transform,
		const FActorSpawnParameters& SpawnParameters = FActorSpawnParameters())
	{
		return CastChecked<T>(SpawnActor(Class, &Transform, SpawnParameters), ECastCheckedType::NullAllowed);
	}

	/** Removes the actor from its level and marks it as garbage. */
	bool DestroyActor(AActor* Actor, bool bNetForce = false, bool bShouldModifyLevel = true);
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif
};
