// Stands in for the engine's Engine/Level.h: the actors of one level.
#pragma once

#include "GameFramework/Actor.h"
#include "UObject/Object.h"

class UWorld;

class ULevel : public UObject
{
	HOST_DECLARE_CLASS(ULevel, UObject, Engine)
public:
	TArray<TObjectPtr<AActor>> Actors;
	TObjectPtr<UWorld> OwningWorld;
	virtual UWorld* GetWorld() const override { return OwningWorld.Get(); }
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif
};
