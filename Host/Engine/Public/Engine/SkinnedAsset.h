// Stands in for the engine's Engine/SkinnedAsset.h: the base of skinned meshes.
#pragma once

#include "ReferenceSkeleton.h"
#include "UObject/Object.h"

class USkeleton;

class USkinnedAsset : public UObject
{
	HOST_DECLARE_CLASS(USkinnedAsset, UObject, Engine)
public:
	virtual USkeleton* GetSkeleton() { return nullptr; }
	virtual const USkeleton* GetSkeleton() const { return nullptr; }
	virtual void SetSkeleton(USkeleton* InSkeleton) { (void)InSkeleton; }
	virtual FReferenceSkeleton& GetRefSkeleton() = 0;
	virtual const FReferenceSkeleton& GetRefSkeleton() const = 0;
	virtual FBoxSphereBounds GetBounds() const { return FBoxSphereBounds(); }
};
