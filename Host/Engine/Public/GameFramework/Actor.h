// Stands in for the engine's GameFramework/Actor.h: an object placed in a level, with components and an editor label.
#pragma once

#include "Components/SceneComponent.h"
#include "Engine/EngineTypes.h"
#include "UObject/Object.h"
#include "UObject/UObjectHash.h"

class ULevel;
class UWorld;

class AActor : public UObject
{
	HOST_DECLARE_CLASS(AActor, UObject, Engine)
public:
	USceneComponent* GetRootComponent() const { return RootComponent.Get(); }
	bool SetRootComponent(USceneComponent* NewRootComponent);
	FVector GetActorLocation() const;
	FRotator GetActorRotation() const;
	FTransform GetActorTransform() const;
	bool SetActorLocation(const FVector& NewLocation, bool bSweep = false, void* OutSweepHitResult = nullptr,
		ETeleportType Teleport = ETeleportType::None);
	bool SetActorRotation(FRotator NewRotation, ETeleportType Teleport = ETeleportType::None);
	ULevel* GetLevel() const;
	virtual UWorld* GetWorld() const override;
	/** Removes the actor from its level (recorded in an open transaction) and marks it as garbage. */
	bool Destroy(bool bNetForce = false, bool bShouldModifyLevel = true);
	virtual bool Modify(bool bAlwaysMarkDirty = true) override;

#if WITH_EDITOR
	/** The outliner label; it need not be unique. bMarkDirty dirties the actor's package. */
	void SetActorLabel(const FString& NewActorLabel, bool bMarkDirty = true);
	/** The label, or a default made from the class when none was set. */
	const FString& GetActorLabel(bool bCreateIfNone = true) const;
#endif

	template <class T>
	void GetComponents(TArray<T*>& OutComponents) const
	{
		TArray<UObject*> Inner;
		GetObjectsWithOuter(this, Inner, false);
		for (UObject* Object : Inner)
		{
			if (T* Component = Cast<T>(Object))
			{
				OutComponents.Add(Component);
			}
		}
	}
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	TObjectPtr<USceneComponent> RootComponent;
	mutable FString ActorLabel;
};
