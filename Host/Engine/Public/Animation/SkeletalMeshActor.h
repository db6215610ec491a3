// Stands in for the engine's Animation/SkeletalMeshActor.h: an actor whose root is a skeletal mesh component.
#pragma once

#include "Components/SkeletalMeshComponent.h"
#include "GameFramework/Actor.h"

class ASkeletalMeshActor : public AActor
{
	HOST_DECLARE_CLASS(ASkeletalMeshActor, AActor, Engine)
public:
	ASkeletalMeshActor();
	USkeletalMeshComponent* GetSkeletalMeshComponent() const { return SkeletalMeshComponent.Get(); }
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	TObjectPtr<USkeletalMeshComponent> SkeletalMeshComponent;
};
