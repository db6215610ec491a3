// Stands in for the engine's Components/SkinnedMeshComponent.h: a component that draws a skinned asset.
#pragma once

#include "Components/MeshComponent.h"

class USkinnedAsset;

class USkinnedMeshComponent : public UMeshComponent
{
	HOST_DECLARE_CLASS(USkinnedMeshComponent, UMeshComponent, Engine)
public:
	USkinnedAsset* GetSkinnedAsset() const { return SkinnedAsset.Get(); }
	void SetSkinnedAsset(USkinnedAsset* InSkinnedAsset) { SkinnedAsset = InSkinnedAsset; }
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	TObjectPtr<USkinnedAsset> SkinnedAsset;
};
