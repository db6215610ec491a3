// Stands in for the engine's Engine/Engine.h: the engine object and its world contexts.
#pragma once

#include "Engine/EngineTypes.h"
#include "UObject/Object.h"

class UWorld;

struct FWorldContext
{
	TEnumAsByte<EWorldType::Type> WorldType = EWorldType::None;
	FName ContextHandle;
	UWorld* World() const { return ThisCurrentWorld.Get(); }
	void SetCurrentWorld(UWorld* World);

private:
	TWeakObjectPtr<UWorld> ThisCurrentWorld;
};

class UEngine : public UObject
{
	HOST_DECLARE_CLASS(UEngine, UObject, Engine)
public:
	FWorldContext& CreateNewWorldContext(EWorldType::Type WorldType);
	FWorldContext* GetWorldContextFromWorld(const UWorld* InWorld);
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: the contexts in the order they were made. */
	const TArray<FWorldContext*>& HostGetWorldContexts() const { return WorldContexts; }
#endif
	virtual void BeginDestroy() override;

protected:
	TArray<FWorldContext*> WorldContexts;
};

/** The running engine; the editor object in an editor. */
extern UEngine* GEngine;
