// Stands in for the engine's Animation/Skeleton.h: the bone tree that meshes and clips share.
#pragma once

#include "ReferenceSkeleton.h"
#include "UObject/Object.h"

class USkeletalMesh;

class USkeleton : public UObject
{
	HOST_DECLARE_CLASS(USkeleton, UObject, Engine)
public:
	const FReferenceSkeleton& GetReferenceSkeleton() const { return ReferenceSkeleton; }
	/** Adds the mesh's bones that the skeleton lacks, under their parents; false when the trees conflict. */
	bool MergeAllBonesToBoneTree(const USkeletalMesh* InSkelMesh, bool bShowProgress = true);
	/** Whether every bone of the mesh is in this skeleton with the same parent. */
	bool IsCompatibleMesh(const USkeletalMesh* InSkelMesh, bool bDoParentChainCheck = true) const;
	USkeletalMesh* GetPreviewMesh(bool bFindIfNotSet = false);
	void SetPreviewMesh(USkeletalMesh* PreviewMesh, bool bMarkAsDirty = true);
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	FReferenceSkeleton ReferenceSkeleton;
	TObjectPtr<USkeletalMesh> PreviewMesh;
};
