// Stands in for the engine's ReferenceSkeleton.h: a skeleton's bones (names and parents, parents before children)
// and their reference pose, each bone relative to its parent.
#pragma once

#include "CoreMinimal.h"

struct FMeshBoneInfo
{
	FName Name;
	int32 ParentIndex = INDEX_NONE;
	FString ExportName;

	FMeshBoneInfo() = default;
	FMeshBoneInfo(const FName& InName, const FString& InExportName, int32 InParentIndex)
		: Name(InName)
		, ParentIndex(InParentIndex)
		, ExportName(InExportName)
	{
	}
	bool operator==(const FMeshBoneInfo& B) const { return Name == B.Name; }
};

class USkeleton;
class FHostArchive;

struct FReferenceSkeleton
{
	int32 GetNum() const { return RefBoneInfo.Num(); }
	int32 GetRawBoneNum() const { return RefBoneInfo.Num(); }
	/** Name lookup as engine names compare: without regard to case. INDEX_NONE when missing. */
	int32 FindBoneIndex(const FName& BoneName) const;
	const TArray<FTransform>& GetRefBonePose() const { return RefBonePose; }
	const TArray<FTransform>& GetRawRefBonePose() const { return RefBonePose; }
	const TArray<FMeshBoneInfo>& GetRefBoneInfo() const { return RefBoneInfo; }
	const TArray<FMeshBoneInfo>& GetRawRefBoneInfo() const { return RefBoneInfo; }
	int32 GetParentIndex(const int32 BoneIndex) const { return RefBoneInfo[BoneIndex].ParentIndex; }
	FName GetBoneName(const int32 BoneIndex) const { return RefBoneInfo[BoneIndex].Name; }
	bool IsValidIndex(int32 Index) const { return RefBoneInfo.IsValidIndex(Index); }
	void Empty()
	{
		RefBoneInfo.Empty();
		RefBonePose.Empty();
	}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: package files and undo. */
	void HostSerialize(FHostArchive& Ar);
#endif

private:
	friend class FReferenceSkeletonModifier;
	TArray<FMeshBoneInfo> RefBoneInfo;
	TArray<FTransform> RefBonePose;
};

/** The engine's way to add bones to a reference skeleton; a parent must already be there. */
class FReferenceSkeletonModifier
{
public:
	FReferenceSkeletonModifier(FReferenceSkeleton& InRefSkel, const USkeleton* InSkeleton)
		: RefSkeleton(InRefSkel)
	{
		(void)InSkeleton;
	}
	void Add(const FMeshBoneInfo& BoneInfo, const FTransform& BonePose, bool bAllowMultipleRoots = false);
	void UpdateRefPoseTransform(const int32 BoneIndex, const FTransform& BonePose);
	int32 FindBoneIndex(const FName& BoneName) const { return RefSkeleton.FindBoneIndex(BoneName); }
	const FReferenceSkeleton& GetReferenceSkeleton() const { return RefSkeleton; }

private:
	FReferenceSkeleton& RefSkeleton;
};
