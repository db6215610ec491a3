// Stands in for the engine's Components/SceneComponent.h: a component with a place in the world.
#pragma once

#include "Components/ActorComponent.h"

class USceneComponent : public UActorComponent
{
	HOST_DECLARE_CLASS(USceneComponent, UActorComponent, Engine)
public:
	FVector GetRelativeLocation() const { return RelativeLocation; }
	FRotator GetRelativeRotation() const { return RelativeRotation; }
	FVector GetRelativeScale3D() const { return RelativeScale3D; }
	void SetRelativeLocation(const FVector& NewLocation) { RelativeLocation = NewLocation; }
	void SetRelativeRotation(const FRotator& NewRotation) { RelativeRotation = NewRotation; }
	void SetRelativeScale3D(const FVector& NewScale) { RelativeScale3D = NewScale; }
	FVector GetComponentLocation() const { return RelativeLocation; }
	FRotator GetComponentRotation() const { return RelativeRotation; }
	FTransform GetComponentTransform() const { return FTransform(RelativeRotation, RelativeLocation, RelativeScale3D); }
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	FVector RelativeLocation = FVector::ZeroVector;
	FRotator RelativeRotation = FRotator::ZeroRotator;
	FVector RelativeScale3D = FVector::OneVector;
};
