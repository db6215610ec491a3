// The FBX factory: a skeletal mesh with its skeleton, physics asset and clips on a first import, or clips alone
// bound to a given skeleton. Every asset goes into a package of its own beside the destination package.
#include "Factories/FbxFactory.h"
#include "Animation/AnimSequence.h"
#include "Animation/Skeleton.h"
#include "AssetImportTask.h"
#include "Engine/SkeletalMesh.h"
#include "FbxSceneReader.h"
#include "HAL/FileManager.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "PhysicsEngine/PhysicsAsset.h"
#include "UObject/Package.h"

DEFINE_LOG_CATEGORY_STATIC(LogFbx, Log, All);

namespace
{
/** The object of that name in the package, reused when it is of the class (a reimport), else made. */
template <class T>
T* FindOrMakeAsset(UPackage* Package, const FString& Name, EObjectFlags Flags)
{
	UObject* Existing = StaticFindObjectFast(nullptr, Package, FName(*Name));
	if (Existing)
	{
		if (T* Typed = Cast<T>(Existing))
		{
			return Typed;
		}
		UE_LOG(LogFbx, Warning, TEXT("Cannot import %s: an asset of another kind has that name"), *Existing->GetPathName());
		return nullptr;
	}
	T* Made = NewObject<T>(Package, FName(*Name), Flags);
	Made->MarkPackageDirty();
	return Made;
}

/** A sibling asset in a package of its own, in the same folder as Parent's package. */
template <class T>
T* MakeSiblingAsset(const UObject* Parent, const FString& Name, EObjectFlags Flags)
{
	const FString Folder = FPackageName::GetLongPackagePath(Parent->GetPackage()->GetName());
	UPackage* Package = CreatePackage(*(Folder + TEXT("/") + Name));
	return FindOrMakeAsset<T>(Package, Name, Flags);
}

template <class TImportData>
void RecordSource(UObject* Asset, const FString& Filename, TImportData*& OutData)
{
	OutData = NewObject<TImportData>(Asset, FName(TEXT("AssetImportData")), RF_NoFlags);
	OutData->Update(FPaths::ConvertRelativePathToFull(Filename));
}

/** Samples every take into a clip bound to Skeleton; the clips of several takes get "_<Take>" names. */
UAnimSequence* ImportClips(const FHostFbxScene& Scene, UObject* Parent, const FString& BaseName, USkeleton* Skeleton,
	const UFbxAnimSequenceImportData* Settings, EObjectFlags Flags, const FString& Filename, bool bParentIsClipPackage)
{
	UAnimSequence* Last = nullptr;
	const int32 NumTakes = Scene.GetNumTakes();
	for (int32 Take = 0; Take < NumTakes; ++Take)
	{
		FHostSampledTake Sampled;
		FString Error;
		if (!Scene.SampleTake(Take, Skeleton->GetReferenceSkeleton(), Settings, Sampled, Error))
		{
			UE_LOG(LogFbx, Warning, TEXT("Take %s of %s is not imported: %s"), *Scene.GetTakeName(Take), *Filename, *Error);
			continue;
		}
		if (Sampled.UnknownBones.Num() > 0)
		{
			UE_LOG(LogFbx, Warning,
				TEXT("The following bones exist in the imported animation, but not in the Skeleton asset %s.  Any "
					 "animation on these bones will not be imported: \n\n %s"),
				*Skeleton->GetName(), *FString::Join(Sampled.UnknownBones, TEXT("  \n")));
		}
		const FString Name = NumTakes > 1 ? BaseName + TEXT("_") + Scene.GetTakeName(Take) : BaseName;
		UAnimSequence* Clip = bParentIsClipPackage && NumTakes == 1
			? FindOrMakeAsset<UAnimSequence>(Parent->GetPackage(), Name, Flags)
			: MakeSiblingAsset<UAnimSequence>(Parent, Name, Flags);
		if (!Clip)
		{
			continue;
		}
		Clip->SetSkeleton(Skeleton);
		Clip->HostSetTiming(Sampled.NumberOfFrames, Sampled.FrameRate);
		Clip->HostSetTracks(Sampled.TrackNames, Sampled.Tracks);
		UFbxAnimSequenceImportData* ImportData = nullptr;
		if (!Clip->GetAssetImportData())
		{
			RecordSource(Clip, Filename, ImportData);
			Clip->SetAssetImportData(ImportData);
		}
		else
		{
			Clip->GetAssetImportData()->Update(FPaths::ConvertRelativePathToFull(Filename));
		}
		Clip->MarkPackageDirty();
		Last = Clip;
	}
	return Last;
}
} // namespace

UObject* UFbxFactory::FactoryCreateFile(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags,
	const FString& Filename, const TCHAR* Parms, FFeedbackContext* Warn, bool& bOutOperationCanceled)
{
	(void)InClass;
	(void)Parms;
	(void)Warn;
	bOutOperationCanceled = false;
	AdditionalImportedObjects.Empty();

	// Options handed to the task win over the factory's own for this import.
	UFbxImportUI* Options = ImportUI.Get();
	if (AssetImportTask && AssetImportTask->Options)
	{
		if (UFbxImportUI* TaskOptions = Cast<UFbxImportUI>(AssetImportTask->Options.Get()))
		{
			Options = TaskOptions;
		}
		else
		{
			UE_LOG(LogFbx, Display, TEXT("The import task's options are not FBX options and are ignored"));
		}
	}
	if (!Options || !InParent)
	{
		return nullptr;
	}

	if (!IFileManager::Get().FileExists(*Filename))
	{
		UE_LOG(LogFbx, Error, TEXT("Failed to load file '%s'"), *Filename);
		return nullptr;
	}
	FHostFbxScene Scene;
	FString Error;
	if (!Scene.Open(Filename, Error))
	{
		// The SDK refuses such a file when the importer is initialised; the type detection that follows gives up.
		UE_LOG(LogFbx, Error, TEXT("Call to FbxImporter::Initialize() failed."));
		UE_LOG(LogFbx, Warning, TEXT("Error returned: %s"), *Error);
		if (bDetectImportTypeOnImport)
		{
			UE_LOG(LogFbx, Warning, TEXT("Can't detect import type. No mesh is found or animation track."));
		}
		return nullptr;
	}

	if (IsAutomatedImport() && Options->bAutomatedImportShouldDetectType && bDetectImportTypeOnImport)
	{
		const EFBXImportType Detected = Scene.HasSkinnedMesh() ? FBXIT_SkeletalMesh
			: Scene.HasMesh()                                  ? FBXIT_StaticMesh
			: Scene.GetNumTakes() > 0                          ? FBXIT_Animation
															   : FBXIT_StaticMesh;
		Options->MeshTypeToImport = Detected;
		Options->OriginalImportType = Detected;
	}

	const FString Name = InName.ToString();
	if (Options->MeshTypeToImport == FBXIT_Animation)
	{
		USkeleton* Skeleton = Options->Skeleton.Get();
		if (!Skeleton)
		{
			UE_LOG(LogFbx, Warning, TEXT("Cannot import the animation of %s without a skeleton"), *Filename);
			return nullptr;
		}
		UFbxAnimSequenceImportData* AnimSettings = Options->AnimSequenceImportData.Get();
		Scene.SetTransformOptions(AnimSettings);
		// The skeleton's root bone must be in the file; without it nothing is made.
		if (!Scene.FindSkeletonRootNode(Skeleton->GetReferenceSkeleton()))
		{
			const FName RootName = Skeleton->GetReferenceSkeleton().GetNum() > 0
									   ? Skeleton->GetReferenceSkeleton().GetBoneName(0)
									   : NAME_None;
			UE_LOG(LogFbx, Error,
				TEXT("Mesh contains %s bone as root but animation doesn't contain the root track.\nImport failed."),
				*RootName.ToString());
			return nullptr;
		}
		return ImportClips(Scene, InParent, Name, Skeleton, AnimSettings, Flags, Filename, true);
	}
	if (Options->MeshTypeToImport != FBXIT_SkeletalMesh)
	{
		UE_LOG(LogFbx, Warning, TEXT("Cannot import %s: the stand-in imports skeletal meshes and animations only"), *Filename);
		return nullptr;
	}
	if (!Options->bImportMesh)
	{
		return nullptr;
	}

	// The mesh, and the clips made with it, take the transform options of the mesh settings.
	Scene.SetTransformOptions(Options->SkeletalMeshImportData.Get());
	FReferenceSkeleton RefSkeleton;
	TArray<FName> WeightedBones;
	if (!Scene.BuildReferenceSkeleton(RefSkeleton, WeightedBones, Error))
	{
		// Several roots and duplicate names are errors in the engine; its other refusals are warnings.
		if (Error.Equals(HostFbxMultipleRootsMessage))
		{
			UE_LOG(LogFbx, Error, TEXT("%s"), *Error);
		}
		else if (Error.StartsWith(TEXT("Duplicate bone name")))
		{
			UE_LOG(LogFbx, Error, TEXT("Error, Could not import %s.\n%s"), *Name, *Error);
		}
		else
		{
			UE_LOG(LogFbx, Warning, TEXT("Cannot import %s: %s"), *Filename, *Error);
		}
		return nullptr;
	}
	UPackage* MeshPackage = InParent->GetPackage();
	USkeletalMesh* Mesh = FindOrMakeAsset<USkeletalMesh>(MeshPackage, Name, Flags);
	if (!Mesh)
	{
		return nullptr;
	}
	Mesh->SetRefSkeleton(RefSkeleton);
	int32 NumVertices = 0;
	int32 NumTriangles = 0;
	Mesh->SetImportedBounds(FBoxSphereBounds(Scene.ComputeBounds(NumVertices, NumTriangles)));
	Mesh->HostSetGeometryCounts(NumVertices, NumTriangles);
	UFbxSkeletalMeshImportData* MeshImportData = nullptr;
	RecordSource(Mesh, Filename, MeshImportData);
	Mesh->SetAssetImportData(MeshImportData);

	USkeleton* Skeleton = Options->Skeleton.Get();
	if (Skeleton)
	{
		if (!Skeleton->MergeAllBonesToBoneTree(Mesh))
		{
			UE_LOG(LogFbx, Warning, TEXT("The bones of %s do not fit skeleton %s"), *Filename, *Skeleton->GetPathName());
			Mesh->MarkAsGarbage();
			return nullptr;
		}
		Skeleton->MarkPackageDirty();
	}
	else
	{
		Skeleton = MakeSiblingAsset<USkeleton>(Mesh, Name + TEXT("_Skeleton"), Flags);
		if (!Skeleton)
		{
			return nullptr;
		}
		Skeleton->MergeAllBonesToBoneTree(Mesh);
		Skeleton->SetPreviewMesh(Mesh, false);
	}
	Mesh->SetSkeleton(Skeleton);

	if (Options->bCreatePhysicsAsset)
	{
		if (UPhysicsAsset* Physics = MakeSiblingAsset<UPhysicsAsset>(Mesh, Name + TEXT("_PhysicsAsset"), Flags))
		{
			Physics->HostBodyBoneNames = WeightedBones;
			Mesh->SetPhysicsAsset(Physics);
		}
	}
	else if (Options->PhysicsAsset)
	{
		Mesh->SetPhysicsAsset(Options->PhysicsAsset.Get());
	}

	if (Options->bImportAnimations && Scene.GetNumTakes() > 0)
	{
		const FString ClipName = Options->OverrideAnimationName.IsEmpty() ? Name + TEXT("_Anim") : Options->OverrideAnimationName;
		ImportClips(Scene, Mesh, ClipName, Skeleton, Options->AnimSequenceImportData.Get(), Flags, Filename, false);
	}
	Mesh->MarkPackageDirty();
	return Mesh;
}
