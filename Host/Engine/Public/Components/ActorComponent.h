// Stands in for the engine's Components/ActorComponent.h: a part of an actor.
#pragma once

#include "UObject/Object.h"

class AActor;

class UActorComponent : public UObject
{
	HOST_DECLARE_CLASS(UActorComponent, UObject, Engine)
public:
	/** The actor this component is inside. */
	AActor* GetOwner() const;
	virtual UWorld* GetWorld() const override;
	bool IsRegistered() const { return true; }
};
