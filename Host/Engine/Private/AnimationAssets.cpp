// Skeletons, skeletal meshes, physics assets and clips: their state in package files and the bone-tree rules.
#include "Animation/AnimSequence.h"
#include "Animation/Skeleton.h"
#include "EditorFramework/AssetImportData.h"
#include "Engine/SkeletalMesh.h"
#include "Engine/StaticMesh.h"
#include "PhysicsEngine/PhysicsAsset.h"
#include "UObject/HostObjects.h"

FHostArchive& operator<<(FHostArchive& Ar, FMeshBoneInfo& Info)
{
	return Ar << Info.Name << Info.ParentIndex << Info.ExportName;
}

FHostArchive& operator<<(FHostArchive& Ar, FRawAnimSequenceTrack& Track)
{
	return Ar << Track.PosKeys << Track.RotKeys << Track.ScaleKeys;
}

int32 FReferenceSkeleton::FindBoneIndex(const FName& BoneName) const
{
	for (int32 Index = 0; Index < RefBoneInfo.Num(); ++Index)
	{
		if (RefBoneInfo[Index].Name == BoneName)
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

void FReferenceSkeleton::HostSerialize(FHostArchive& Ar)
{
	Ar << RefBoneInfo << RefBonePose;
}

void FReferenceSkeletonModifier::Add(const FMeshBoneInfo& BoneInfo, const FTransform& BonePose, bool bAllowMultipleRoots)
{
	// Parents come before children, and only the first bone may be a root, as the engine requires.
	check(BoneInfo.ParentIndex == INDEX_NONE ? (bAllowMultipleRoots || RefSkeleton.GetNum() == 0)
											 : BoneInfo.ParentIndex >= 0 && BoneInfo.ParentIndex < RefSkeleton.GetNum());
	check(RefSkeleton.FindBoneIndex(BoneInfo.Name) == INDEX_NONE);
	RefSkeleton.RefBoneInfo.Add(BoneInfo);
	RefSkeleton.RefBonePose.Add(BonePose);
}

void FReferenceSkeletonModifier::UpdateRefPoseTransform(const int32 BoneIndex, const FTransform& BonePose)
{
	RefSkeleton.RefBonePose[BoneIndex] = BonePose;
}

void UAssetImportData::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << SourceFiles;
}

FBoxSphereBounds USkeletalMesh::GetBounds() const
{
	FBox Box = ImportedBounds.GetBox();
	Box.Min -= NegativeBoundsExtension;
	Box.Max += PositiveBoundsExtension;
	return FBoxSphereBounds(Box);
}

void USkeletalMesh::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << Skeleton;
	RefSkeleton.HostSerialize(Ar);
	Ar << ImportedBounds << PositiveBoundsExtension << NegativeBoundsExtension << PhysicsAsset << AssetImportData;
	Ar << NumVertices << NumTriangles;
}

bool USkeleton::MergeAllBonesToBoneTree(const USkeletalMesh* InSkelMesh, bool bShowProgress)
{
	(void)bShowProgress;
	if (!InSkelMesh)
	{
		return false;
	}
	const FReferenceSkeleton& MeshSkeleton = InSkelMesh->GetRefSkeleton();
	if (ReferenceSkeleton.GetNum() == 0)
	{
		ReferenceSkeleton = MeshSkeleton;
		MarkPackageDirty();
		return true;
	}
	if (!IsCompatibleMesh(InSkelMesh))
	{
		return false;
	}
	FReferenceSkeletonModifier Modifier(ReferenceSkeleton, this);
	for (int32 Index = 0; Index < MeshSkeleton.GetNum(); ++Index)
	{
		const FName Name = MeshSkeleton.GetBoneName(Index);
		if (ReferenceSkeleton.FindBoneIndex(Name) != INDEX_NONE)
		{
			continue;
		}
		const int32 MeshParent = MeshSkeleton.GetParentIndex(Index);
		const int32 Parent = MeshParent == INDEX_NONE ? INDEX_NONE : ReferenceSkeleton.FindBoneIndex(MeshSkeleton.GetBoneName(MeshParent));
		if (Parent == INDEX_NONE)
		{
			return false;
		}
		Modifier.Add(FMeshBoneInfo(Name, MeshSkeleton.GetRefBoneInfo()[Index].ExportName, Parent), MeshSkeleton.GetRefBonePose()[Index]);
		MarkPackageDirty();
	}
	return true;
}

bool USkeleton::IsCompatibleMesh(const USkeletalMesh* InSkelMesh, bool bDoParentChainCheck) const
{
	if (!InSkelMesh)
	{
		return false;
	}
	const FReferenceSkeleton& MeshSkeleton = InSkelMesh->GetRefSkeleton();
	int32 Matched = 0;
	for (int32 Index = 0; Index < MeshSkeleton.GetNum(); ++Index)
	{
		const int32 SkeletonIndex = ReferenceSkeleton.FindBoneIndex(MeshSkeleton.GetBoneName(Index));
		if (SkeletonIndex == INDEX_NONE)
		{
			continue;
		}
		++Matched;
		const int32 MeshParent = MeshSkeleton.GetParentIndex(Index);
		const int32 SkeletonParent = ReferenceSkeleton.GetParentIndex(SkeletonIndex);
		if (bDoParentChainCheck && MeshParent != INDEX_NONE &&
			(SkeletonParent == INDEX_NONE ||
				ReferenceSkeleton.GetBoneName(SkeletonParent) != MeshSkeleton.GetBoneName(MeshParent)))
		{
			return false;
		}
	}
	return Matched > 0;
}

USkeletalMesh* USkeleton::GetPreviewMesh(bool bFindIfNotSet)
{
	(void)bFindIfNotSet;
	return PreviewMesh.Get();
}

void USkeleton::SetPreviewMesh(USkeletalMesh* InPreviewMesh, bool bMarkAsDirty)
{
	if (bMarkAsDirty)
	{
		Modify();
	}
	PreviewMesh = InPreviewMesh;
}

void USkeleton::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	ReferenceSkeleton.HostSerialize(Ar);
	Ar << PreviewMesh;
}

void UPhysicsAsset::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << HostBodyBoneNames;
}

void UAnimationAsset::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << Skeleton << AssetImportData;
}

float UAnimSequenceBase::GetPlayLength() const
{
	return FrameRate > 0.0 ? (float)((double)NumberOfFrames / FrameRate) : 0.0f;
}

void UAnimSequenceBase::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << NumberOfFrames << FrameRate;
}

const FRawAnimSequenceTrack* UAnimSequence::HostFindTrack(FName BoneName) const
{
	for (int32 Index = 0; Index < TrackNames.Num(); ++Index)
	{
		if (TrackNames[Index] == BoneName)
		{
			return &Tracks[Index];
		}
	}
	return nullptr;
}

void UAnimSequence::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << TrackNames << Tracks;
}

void UStaticMesh::HostSerialize(FHostArchive& Ar)
{
	Super::HostSerialize(Ar);
	Ar << AssetImportData;
}
