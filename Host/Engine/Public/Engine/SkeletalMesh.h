// Stands in for the engine's Engine/SkeletalMesh.h: a skinned mesh with its reference skeleton and bounds. The
// stand-in keeps what the editor reads of a mesh (bones, bind pose, bounds, counts), not render data.
#pragma once

#include "Animation/Skeleton.h"
#include "EditorFramework/AssetImportData.h"
#include "Engine/SkinnedAsset.h"
#include "PhysicsEngine/PhysicsAsset.h"
#include "ReferenceSkeleton.h"

class USkeletalMesh : public USkinnedAsset
{
	HOST_DECLARE_CLASS(USkeletalMesh, USkinnedAsset, Engine)
public:
	virtual USkeleton* GetSkeleton() override { return Skeleton.Get(); }
	virtual const USkeleton* GetSkeleton() const override { return Skeleton.Get(); }
	virtual void SetSkeleton(USkeleton* InSkeleton) override { Skeleton = InSkeleton; }
	virtual FReferenceSkeleton& GetRefSkeleton() override { return RefSkeleton; }
	virtual const FReferenceSkeleton& GetRefSkeleton() const override { return RefSkeleton; }
	void SetRefSkeleton(const FReferenceSkeleton& InRefSkeleton) { RefSkeleton = InRefSkeleton; }
	/** Imported bounds grown by the positive and negative bounds extensions. */
	virtual FBoxSphereBounds GetBounds() const override;
	FBoxSphereBounds GetImportedBounds() const { return ImportedBounds; }
	void SetImportedBounds(const FBoxSphereBounds& InBounds) { ImportedBounds = InBounds; }
	FVector GetPositiveBoundsExtension() const { return PositiveBoundsExtension; }
	FVector GetNegativeBoundsExtension() const { return NegativeBoundsExtension; }
	void SetPositiveBoundsExtension(const FVector& InExtension) { PositiveBoundsExtension = InExtension; }
	void SetNegativeBoundsExtension(const FVector& InExtension) { NegativeBoundsExtension = InExtension; }
	UPhysicsAsset* GetPhysicsAsset() const { return PhysicsAsset.Get(); }
	void SetPhysicsAsset(UPhysicsAsset* InPhysicsAsset) { PhysicsAsset = InPhysicsAsset; }
	UAssetImportData* GetAssetImportData() const { return AssetImportData.Get(); }
	void SetAssetImportData(UAssetImportData* InData) { AssetImportData = InData; }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: the vertex and triangle counts of LOD 0 as imported. */
	int32 HostGetNumVertices() const { return NumVertices; }
	int32 HostGetNumTriangles() const { return NumTriangles; }
	void HostSetGeometryCounts(int32 InVertices, int32 InTriangles)
	{
		NumVertices = InVertices;
		NumTriangles = InTriangles;
	}
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	TObjectPtr<USkeleton> Skeleton;
	FReferenceSkeleton RefSkeleton;
	FBoxSphereBounds ImportedBounds;
	FVector PositiveBoundsExtension = FVector::ZeroVector;
	FVector NegativeBoundsExtension = FVector::ZeroVector;
	TObjectPtr<UPhysicsAsset> PhysicsAsset;
	TObjectPtr<UAssetImportData> AssetImportData;
	int32 NumVertices = 0;
	int32 NumTriangles = 0;
};
