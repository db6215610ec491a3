// Stands in for the engine's PhysicsEngine/PhysicsAsset.h: the simplified collision bodies of a skeletal mesh. The
// stand-in keeps one body per bone name.
#pragma once

#include "UObject/Object.h"

class USkeletalMesh;

class UPhysicsAsset : public UObject
{
	HOST_DECLARE_CLASS(UPhysicsAsset, UObject, Engine)
public:
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: the bones that carry a body. */
	TArray<FName> HostBodyBoneNames;
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif
};
