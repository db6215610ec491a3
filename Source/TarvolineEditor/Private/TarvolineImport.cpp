// The FBX import of a generated motion: naming, the character's folder, the engine's automated import with the
// options for a first or a later import, finding the clip, renaming it after the sentence, and saving the folder.

#include "TarvolineImport.h"

#include "Animation/AnimSequence.h"
#include "Animation/Skeleton.h"
#include "AssetImportTask.h"
#include "AssetRegistry/AssetData.h"
#include "AssetRegistry/AssetRegistryModule.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "AssetToolsModule.h"
#include "Engine/SkeletalMesh.h"
#include "Factories/FbxAnimSequenceImportData.h"
#include "Factories/FbxFactory.h"
#include "Factories/FbxImportUI.h"
#include "Factories/FbxSkeletalMeshImportData.h"
#include "FileHelpers.h"
#include "IAssetTools.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"
#include "UObject/Package.h"
#include "UObject/StrongObjectPtr.h"
#include "UObject/UObjectGlobals.h"

namespace
{
const TCHAR* const AnimationsRoot = TEXT("/Game/Tarvoline/Animations");
const TCHAR* const FallbackCharacterName = TEXT("character");
const TCHAR* const FallbackAssetName = TEXT("animation");
const TCHAR* const DigitPrefix = TEXT("a_");
const int32 MaxFolderNameLength = 40;
const int32 MaxClipNameLength = 48;

IAssetTools& GetAssetTools()
{
	return FModuleManager::LoadModuleChecked<FAssetToolsModule>(TEXT("AssetTools")).Get();
}

IAssetRegistry& GetAssetRegistry()
{
	return FModuleManager::LoadModuleChecked<FAssetRegistryModule>(TEXT("AssetRegistry")).Get();
}

/** Assets directly in Folder, not in its sub-folders; assets only in memory count too. */
TArray<FAssetData> GetAssetsInFolder(const FString& Folder)
{
	TArray<FAssetData> Assets;
	GetAssetRegistry().GetAssetsByPath(FName(*Folder), Assets, false, false);
	return Assets;
}

/** The first asset of the class in the folder; a later asset is not tried once one of the class was met. */
template <typename AssetType>
AssetType* FindFirstAssetOfClass(const FString& Folder)
{
	for (const FAssetData& Asset : GetAssetsInFolder(Folder))
	{
		// The class test reads the registry only, so assets of other kinds are never loaded.
		const UClass* AssetClass = Asset.GetClass();
		if (AssetClass && AssetClass->IsChildOf(AssetType::StaticClass()))
		{
			return Cast<AssetType>(Asset.GetAsset());
		}
	}
	return nullptr;
}

/** The engine's defaults for the transform options every FBX settings object shares. */
void SetTransformOptions(UFbxAssetImportData* Settings)
{
	Settings->ImportTranslation = FVector::ZeroVector;
	Settings->ImportRotation = FRotator::ZeroRotator;
	Settings->ImportUniformScale = 1.0f;
	// The service writes centimetres on Y up; the scene conversion turns that into the engine's Z up, and the
	// file's numbers are taken as they are.
	Settings->bConvertScene = true;
	Settings->bForceFrontXAxis = false;
	Settings->bConvertSceneUnit = false;
}

/**
 * Options for a first import (mesh, skeleton, physics asset and clip) or a later one (clip alone on Skeleton).
 * UFbxImportUI's constructor loads the user's last import dialog choices into its settings objects, so every option
 * the result depends on is set here: a saved scale, offset, unit conversion, sample rate or frame snapping must not
 * change what a generated motion becomes.
 */
UFbxImportUI* MakeImportOptions(USkeleton* Skeleton)
{
	const bool bSkeletonFound = Skeleton != nullptr;
	UFbxImportUI* ImportOptions = NewObject<UFbxImportUI>(GetTransientPackage());
	ImportOptions->bIsObjImport = false;
	ImportOptions->OriginalImportType = bSkeletonFound ? FBXIT_Animation : FBXIT_SkeletalMesh;
	ImportOptions->MeshTypeToImport = bSkeletonFound ? FBXIT_Animation : FBXIT_SkeletalMesh;
	ImportOptions->bImportAsSkeletal = true;
	ImportOptions->bImportMesh = !bSkeletonFound;
	ImportOptions->Skeleton = Skeleton;
	ImportOptions->bCreatePhysicsAsset = !bSkeletonFound;
	ImportOptions->bImportAnimations = true;
	ImportOptions->bImportMaterials = !bSkeletonFound;
	ImportOptions->bImportTextures = !bSkeletonFound;
	// The mesh takes the task's name as it is.
	ImportOptions->bOverrideFullName = true;
	ImportOptions->OverrideAnimationName.Empty();
	// Detection would turn a forced animation-only import back into a mesh import.
	ImportOptions->bAutomatedImportShouldDetectType = false;

	if (UFbxSkeletalMeshImportData* MeshSettings = ImportOptions->SkeletalMeshImportData)
	{
		// A first import takes the mesh, and the clip made with it, through these.
		SetTransformOptions(MeshSettings);
		MeshSettings->bImportMeshesInBoneHierarchy = true;
		MeshSettings->bImportMorphTargets = false;
		MeshSettings->bUpdateSkeletonReferencePose = false;
		MeshSettings->bUseT0AsRefPose = false;
		MeshSettings->bPreserveSmoothingGroups = true;
		MeshSettings->bTransformVertexToAbsolute = true;
		MeshSettings->bBakePivotInVertex = false;
		MeshSettings->bImportMeshLODs = false;
		MeshSettings->bReorderMaterialToFbxOrder = true;
	}
	if (UFbxAnimSequenceImportData* AnimSettings = ImportOptions->AnimSequenceImportData)
	{
		SetTransformOptions(AnimSettings);
		// The clip spans the take's exported time, which is the length the service generated, sampled at the
		// file's own rate; the service writes whole frames, so nothing needs snapping.
		AnimSettings->AnimationLength = FBXALIT_ExportedTime;
		AnimSettings->FrameImportRange = FInt32Interval(0, 0);
		AnimSettings->bUseDefaultSampleRate = false;
		AnimSettings->CustomSampleRate = 0;
		AnimSettings->bSnapToClosestFrameBoundary = false;
		// Bone tracks are the whole payload of a generated motion.
		AnimSettings->bImportBoneTracks = true;
		AnimSettings->bImportMeshesInBoneHierarchy = true;
		AnimSettings->bImportCustomAttribute = true;
		AnimSettings->bRemoveRedundantKeys = true;
		AnimSettings->bPreserveLocalTransform = false;
		AnimSettings->bDeleteExistingMorphTargetCurves = false;
		AnimSettings->bDoNotImportCurveWithZero = true;
	}
	return ImportOptions;
}

/** The names of the clips directly in Folder, so an import can tell its own from those already there. */
TSet<FName> GetClipsInFolder(const FString& Folder)
{
	TSet<FName> Clips;
	for (const FAssetData& Asset : GetAssetsInFolder(Folder))
	{
		const UClass* AssetClass = Asset.GetClass();
		if (AssetClass && AssetClass->IsChildOf(UAnimSequence::StaticClass()))
		{
			Clips.Add(Asset.AssetName);
		}
	}
	return Clips;
}
} // namespace

FString MakeAssetName(const FString& Text, int32 MaxLength)
{
	const FString Lower = Text.ToLower();
	FString Name;
	bool bSeparatorPending = false;
	for (const TCHAR Character : Lower)
	{
		// Only ASCII letters and digits survive; anything else, accented letters included, only separates words.
		if (Character < 128 && FChar::IsAlnum(Character))
		{
			if (bSeparatorPending && Name.Len() > 0)
			{
				Name.AppendChar(TEXT('_'));
			}
			Name.AppendChar(Character);
			bSeparatorPending = false;
		}
		else
		{
			bSeparatorPending = true;
		}
	}
	if (Name.Len() > MaxLength)
	{
		Name.LeftInline(MaxLength);
		Name.RemoveFromEnd(TEXT("_"));
	}
	if (Name.IsEmpty())
	{
		Name = FallbackAssetName;
	}
	// Asset names may not start with a digit.
	if (FChar::IsDigit(Name[0]))
	{
		Name = DigitPrefix + Name;
	}
	return Name;
}

bool MakeDownloadFileName(const FString& Prompt, const FString& JobId, FString& OutFileName, FString& OutError)
{
	OutFileName.Empty();
	OutError.Empty();
	const FString IdPart = JobId.Left(8);
	bool bPlain = !IdPart.IsEmpty();
	for (const TCHAR Character : IdPart)
	{
		bPlain = bPlain && Character < 128 &&
				 (FChar::IsAlnum(Character) || Character == TEXT('-') || Character == TEXT('_'));
	}
	if (!bPlain)
	{
		OutError = TEXT("The service sent a job id that cannot name a file, so nothing was downloaded.");
		return false;
	}
	OutFileName = FString::Printf(TEXT("%s_%s.fbx"), *MakeAssetName(Prompt, 48), *IdPart);
	return true;
}

FString AnimationFolderFor(const FString& CharacterName)
{
	const FString Name = CharacterName.IsEmpty() ? FString(FallbackCharacterName) : CharacterName;
	const FString BaseName = FPaths::GetBaseFilename(Name, true);
	return FString(AnimationsRoot) + TEXT("/") + MakeAssetName(BaseName, MaxFolderNameLength);
}

FString MakeUniqueAssetName(const FString& Folder, const FString& BaseName)
{
	FString PackageName;
	FString AssetName;
	GetAssetTools().CreateUniqueAssetName(Folder + TEXT("/") + BaseName, TEXT(""), PackageName, AssetName);
	return AssetName;
}

USkeletalMesh* FindFirstSkeletalMesh(const FString& Folder)
{
	return FindFirstAssetOfClass<USkeletalMesh>(Folder);
}

USkeleton* FindFirstSkeleton(const FString& Folder)
{
	return FindFirstAssetOfClass<USkeleton>(Folder);
}

FTarvolineImportResult ImportAnimationFbx(const FString& FbxFile, const FString& CharacterName, const FString& AnimationName)
{
	FTarvolineImportResult Result;
	Result.FolderPath = AnimationFolderFor(CharacterName);

	// The clip's name is taken before anything is imported, so the import itself cannot take it away.
	const FString ClipName = MakeUniqueAssetName(Result.FolderPath, MakeAssetName(AnimationName, MaxClipNameLength));

	// A folder that already holds the character's mesh (or at least its skeleton) gets the animation alone.
	USkeletalMesh* ExistingMesh = FindFirstSkeletalMesh(Result.FolderPath);
	USkeleton* Skeleton = ExistingMesh ? ExistingMesh->GetSkeleton() : nullptr;
	if (!Skeleton)
	{
		ExistingMesh = nullptr;
		Skeleton = FindFirstSkeleton(Result.FolderPath);
	}
	const bool bSkeletonFound = Skeleton != nullptr;

	// Clips already in the folder belong to earlier imports: this import never picks, renames or reports one.
	const TSet<FName> EarlierClips = GetClipsInFolder(Result.FolderPath);

	// Nothing roots these transient objects, so they are held for the length of the import.
	const TStrongObjectPtr<UFbxImportUI> ImportOptions(MakeImportOptions(Skeleton));
	const TStrongObjectPtr<UFbxFactory> Factory(NewObject<UFbxFactory>(GetTransientPackage()));
	Factory->ImportUI = ImportOptions.Get();

	const TStrongObjectPtr<UAssetImportTask> Task(NewObject<UAssetImportTask>(GetTransientPackage()));
	Task->Filename = FbxFile;
	Task->DestinationPath = Result.FolderPath;
	if (bSkeletonFound)
	{
		Task->DestinationName = ClipName;
	}
	else
	{
		// A first import names the mesh after the character; the raw name's base gives "animation" when empty.
		const FString MeshBaseName = MakeAssetName(FPaths::GetBaseFilename(CharacterName, true), MaxFolderNameLength);
		Task->DestinationName = MakeUniqueAssetName(Result.FolderPath, MeshBaseName);
	}
	Task->bReplaceExisting = false;
	Task->bAutomated = true;
	Task->bSave = false;
	Task->Factory = Factory.Get();
	Task->Options = ImportOptions.Get();

	IAssetTools& AssetTools = GetAssetTools();
	TArray<UAssetImportTask*> Tasks;
	Tasks.Add(Task.Get());
	AssetTools.ImportAssetTasks(Tasks);

	TArray<UObject*> ImportedObjects;
	for (const FString& ObjectPath : Task->ImportedObjectPaths)
	{
		if (UObject* Object = StaticLoadObject(UObject::StaticClass(), nullptr, *ObjectPath))
		{
			ImportedObjects.Add(Object);
		}
	}
	ImportedObjects.Append(Factory->GetAdditionalImportedObjects());

	USkeletalMesh* Mesh = nullptr;
	UAnimSequence* Clip = nullptr;
	for (UObject* Object : ImportedObjects)
	{
		if (USkeletalMesh* ImportedMesh = Cast<USkeletalMesh>(Object))
		{
			Mesh = ImportedMesh;
		}
		else if (UAnimSequence* ImportedClip = Cast<UAnimSequence>(Object))
		{
			const bool bInFolder = FPaths::GetPath(ImportedClip->GetPackage()->GetName()) == Result.FolderPath;
			if (!(bInFolder && EarlierClips.Contains(ImportedClip->GetFName())))
			{
				Clip = ImportedClip;
			}
		}
	}

	if (!Mesh)
	{
		Mesh = ExistingMesh ? ExistingMesh : FindFirstSkeletalMesh(Result.FolderPath);
	}

	// A clip made beside a new mesh is named after the mesh and is in neither list: the folder has it.
	if (!Clip)
	{
		for (const FAssetData& Asset : GetAssetsInFolder(Result.FolderPath))
		{
			const UClass* AssetClass = Asset.GetClass();
			if (AssetClass && AssetClass->IsChildOf(UAnimSequence::StaticClass()) &&
				!EarlierClips.Contains(Asset.AssetName) &&
				Asset.AssetName.ToString().StartsWith(Task->DestinationName, ESearchCase::IgnoreCase))
			{
				if (UAnimSequence* FoundClip = Cast<UAnimSequence>(Asset.GetAsset()))
				{
					Clip = FoundClip;
				}
			}
		}
	}

	if (Clip && !Clip->GetName().Equals(ClipName, ESearchCase::IgnoreCase))
	{
		// A failed rename leaves the importer's name, which still plays; it is not worth a failure.
		TArray<FAssetRenameData> Renames;
		Renames.Add(FAssetRenameData(Clip, Result.FolderPath, ClipName));
		AssetTools.RenameAssets(Renames);
	}

	Result.Mesh = Mesh;
	Result.Clip = Clip;
	if (!Clip)
	{
		Result.Error = TEXT("The FBX was imported but no animation clip was found in it.");
	}

	// Only the character's folder is saved, whether or not a clip came in, so a mesh without motion is kept too.
	TArray<UPackage*> DirtyPackages;
	UEditorLoadingAndSavingUtils::GetDirtyContentPackages(DirtyPackages);
	const FString FolderPrefix = Result.FolderPath + TEXT("/");
	TArray<UPackage*> PackagesToSave;
	for (UPackage* Package : DirtyPackages)
	{
		if (Package && Package->GetName().StartsWith(FolderPrefix, ESearchCase::IgnoreCase))
		{
			PackagesToSave.Add(Package);
		}
	}
	if (PackagesToSave.Num() > 0)
	{
		UEditorLoadingAndSavingUtils::SavePackages(PackagesToSave, true);
	}
	return Result;
}
