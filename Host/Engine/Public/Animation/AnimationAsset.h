// Stands in for the engine's Animation/AnimationAsset.h: an asset that plays on a skeleton.
#pragma once

#include "UObject/Object.h"

class USkeleton;
class UAssetImportData;

class UAnimationAsset : public UObject
{
	HOST_DECLARE_CLASS(UAnimationAsset, UObject, Engine)
public:
	USkeleton* GetSkeleton() const { return Skeleton.Get(); }
	void SetSkeleton(USkeleton* NewSkeleton) { Skeleton = NewSkeleton; }
	virtual float GetPlayLength() const { return 0.0f; }
	UAssetImportData* GetAssetImportData() const { return AssetImportData.Get(); }
	void SetAssetImportData(UAssetImportData* InData) { AssetImportData = InData; }
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	TObjectPtr<USkeleton> Skeleton;
	TObjectPtr<UAssetImportData> AssetImportData;
};
