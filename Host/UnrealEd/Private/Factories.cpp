// Factories, the FBX import options and import tasks.
#include "AssetImportTask.h"
#include "Factories/FbxFactory.h"
#include "Factories/FbxImportUI.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/Paths.h"
#include <functional>

DEFINE_LOG_CATEGORY_STATIC(LogFbx, Log, All);

namespace
{
/** One stored option: its key and how its text becomes the value (false when the text does not parse). */
struct FSavedOption
{
	const TCHAR* Key;
	std::function<bool(const FString&)> Import;
};

bool ImportBool(const FString& Text, bool& Out)
{
	if (Text.Equals(TEXT("True"), ESearchCase::IgnoreCase) || Text == TEXT("1") ||
		Text.Equals(TEXT("Yes"), ESearchCase::IgnoreCase))
	{
		Out = true;
		return true;
	}
	if (Text.Equals(TEXT("False"), ESearchCase::IgnoreCase) || Text == TEXT("0") ||
		Text.Equals(TEXT("No"), ESearchCase::IgnoreCase))
	{
		Out = false;
		return true;
	}
	return false;
}

bool ImportNumber(const FString& Text, double& Out)
{
	const FString Trimmed = Text.TrimStartAndEnd();
	if (Trimmed.IsEmpty() ||
		!(FChar::IsDigit(Trimmed[0]) || Trimmed[0] == TEXT('-') || Trimmed[0] == TEXT('+') || Trimmed[0] == TEXT('.')))
	{
		return false;
	}
	Out = FCString::Atod(*Trimmed);
	return true;
}

/** A struct in the engine's text form, "(X=1.0,Y=2.0,Z=3.0)": the numbers of the named fields, missing ones kept. */
bool ImportFields(const FString& Text, std::initializer_list<std::pair<const TCHAR*, double*>> Fields)
{
	FString Inner = Text.TrimStartAndEnd();
	if (!Inner.RemoveFromStart(TEXT("(")) || !Inner.RemoveFromEnd(TEXT(")")))
	{
		return false;
	}
	TArray<FString> Parts;
	Inner.ParseIntoArray(Parts, TEXT(","), true);
	for (const FString& Part : Parts)
	{
		FString Name;
		FString Value;
		if (!Part.Split(TEXT("="), &Name, &Value))
		{
			return false;
		}
		for (const std::pair<const TCHAR*, double*>& Field : Fields)
		{
			if (Name.TrimStartAndEnd().Equals(Field.first, ESearchCase::IgnoreCase) &&
				!ImportNumber(Value, *Field.second))
			{
				return false;
			}
		}
	}
	return true;
}

FSavedOption BoolOption(const TCHAR* Key, bool& Value)
{
	return {Key, [&Value](const FString& Text)
		{
			return ImportBool(Text, Value);
		}};
}

template <typename NumberType>
FSavedOption NumberOption(const TCHAR* Key, NumberType& Value)
{
	return {Key, [&Value](const FString& Text)
		{
			double Number = 0.0;
			if (!ImportNumber(Text, Number))
			{
				return false;
			}
			Value = (NumberType)Number;
			return true;
		}};
}

/** The options of the FBX asset settings every sub-object shares. */
void AddAssetOptions(UFbxAssetImportData* Data, TArray<FSavedOption>& Options)
{
	Options.Add({TEXT("ImportTranslation"), [Data](const FString& Text)
		{
			return ImportFields(Text, {{TEXT("X"), &Data->ImportTranslation.X}, {TEXT("Y"), &Data->ImportTranslation.Y},
										  {TEXT("Z"), &Data->ImportTranslation.Z}});
		}});
	Options.Add({TEXT("ImportRotation"), [Data](const FString& Text)
		{
			return ImportFields(
				Text, {{TEXT("Pitch"), &Data->ImportRotation.Pitch}, {TEXT("Yaw"), &Data->ImportRotation.Yaw},
						  {TEXT("Roll"), &Data->ImportRotation.Roll}});
		}});
	Options.Add(NumberOption(TEXT("ImportUniformScale"), Data->ImportUniformScale));
	Options.Add(BoolOption(TEXT("bConvertScene"), Data->bConvertScene));
	Options.Add(BoolOption(TEXT("bForceFrontXAxis"), Data->bForceFrontXAxis));
	Options.Add(BoolOption(TEXT("bConvertSceneUnit"), Data->bConvertSceneUnit));
}

void AddMeshOptions(UFbxMeshImportData* Data, TArray<FSavedOption>& Options)
{
	AddAssetOptions(Data, Options);
	Options.Add(BoolOption(TEXT("bTransformVertexToAbsolute"), Data->bTransformVertexToAbsolute));
	Options.Add(BoolOption(TEXT("bBakePivotInVertex"), Data->bBakePivotInVertex));
	Options.Add(BoolOption(TEXT("bImportMeshLODs"), Data->bImportMeshLODs));
	Options.Add(BoolOption(TEXT("bReorderMaterialToFbxOrder"), Data->bReorderMaterialToFbxOrder));
}

/** The stored options of an object of the FBX import classes, by the engine's property names. */
TArray<FSavedOption> SavedOptionsOf(UObject* Object)
{
	TArray<FSavedOption> Options;
	if (UFbxImportUI* UI = Cast<UFbxImportUI>(Object))
	{
		// Bit-fields cannot be bound by reference, so these go through a bool.
		auto BitOption = [UI](const TCHAR* Key, void (*Set)(UFbxImportUI*, bool)) -> FSavedOption
		{
			return {Key, [UI, Set](const FString& Text)
				{
					bool Value = false;
					if (!ImportBool(Text, Value))
					{
						return false;
					}
					Set(UI, Value);
					return true;
				}};
		};
		Options.Add(BitOption(TEXT("bOverrideFullName"),
			[](UFbxImportUI* Target, bool bValue)
			{
				Target->bOverrideFullName = bValue;
			}));
		Options.Add(BitOption(TEXT("bCreatePhysicsAsset"),
			[](UFbxImportUI* Target, bool bValue)
			{
				Target->bCreatePhysicsAsset = bValue;
			}));
		Options.Add(BitOption(TEXT("bAutoComputeLodDistances"),
			[](UFbxImportUI* Target, bool bValue)
			{
				Target->bAutoComputeLodDistances = bValue;
			}));
		Options.Add(BitOption(TEXT("bImportAnimations"),
			[](UFbxImportUI* Target, bool bValue)
			{
				Target->bImportAnimations = bValue;
			}));
		Options.Add(BitOption(TEXT("bImportMaterials"),
			[](UFbxImportUI* Target, bool bValue)
			{
				Target->bImportMaterials = bValue;
			}));
		Options.Add(BitOption(TEXT("bImportTextures"),
			[](UFbxImportUI* Target, bool bValue)
			{
				Target->bImportTextures = bValue;
			}));
	}
	else if (UFbxAnimSequenceImportData* Anim = Cast<UFbxAnimSequenceImportData>(Object))
	{
		AddAssetOptions(Anim, Options);
		Options.Add(BoolOption(TEXT("bImportMeshesInBoneHierarchy"), Anim->bImportMeshesInBoneHierarchy));
		Options.Add({TEXT("AnimationLength"), [Anim](const FString& Text)
			{
				static const TCHAR* const Names[] = {
					TEXT("FBXALIT_ExportedTime"), TEXT("FBXALIT_AnimatedKey"), TEXT("FBXALIT_SetRange")};
				for (int32 Index = 0; Index < 3; ++Index)
				{
					if (Text.TrimStartAndEnd().Equals(Names[Index], ESearchCase::IgnoreCase))
					{
						Anim->AnimationLength = (EFBXAnimationLengthImportType)Index;
						return true;
					}
				}
				return false;
			}});
		Options.Add({TEXT("FrameImportRange"), [Anim](const FString& Text)
			{
				double Min = Anim->FrameImportRange.Min;
				double Max = Anim->FrameImportRange.Max;
				if (!ImportFields(Text, {{TEXT("Min"), &Min}, {TEXT("Max"), &Max}}))
				{
					return false;
				}
				Anim->FrameImportRange.Min = (int32)Min;
				Anim->FrameImportRange.Max = (int32)Max;
				return true;
			}});
		Options.Add(BoolOption(TEXT("bUseDefaultSampleRate"), Anim->bUseDefaultSampleRate));
		Options.Add(NumberOption(TEXT("CustomSampleRate"), Anim->CustomSampleRate));
		Options.Add(BoolOption(TEXT("bSnapToClosestFrameBoundary"), Anim->bSnapToClosestFrameBoundary));
		Options.Add(BoolOption(TEXT("bImportCustomAttribute"), Anim->bImportCustomAttribute));
		Options.Add(
			BoolOption(TEXT("bDeleteExistingCustomAttributeCurves"), Anim->bDeleteExistingCustomAttributeCurves));
		Options.Add(
			BoolOption(TEXT("bDeleteExistingNonCurveCustomAttributes"), Anim->bDeleteExistingNonCurveCustomAttributes));
		Options.Add(BoolOption(TEXT("bImportBoneTracks"), Anim->bImportBoneTracks));
		Options.Add(BoolOption(
			TEXT("bSetMaterialDriveParameterOnCustomAttribute"), Anim->bSetMaterialDriveParameterOnCustomAttribute));
		Options.Add(BoolOption(TEXT("bAddCurveMetadataToSkeleton"), Anim->bAddCurveMetadataToSkeleton));
		Options.Add(BoolOption(TEXT("bRemoveRedundantKeys"), Anim->bRemoveRedundantKeys));
		Options.Add(BoolOption(TEXT("bDeleteExistingMorphTargetCurves"), Anim->bDeleteExistingMorphTargetCurves));
		Options.Add(BoolOption(TEXT("bDoNotImportCurveWithZero"), Anim->bDoNotImportCurveWithZero));
		Options.Add(BoolOption(TEXT("bPreserveLocalTransform"), Anim->bPreserveLocalTransform));
	}
	else if (UFbxSkeletalMeshImportData* Skeletal = Cast<UFbxSkeletalMeshImportData>(Object))
	{
		AddMeshOptions(Skeletal, Options);
		Options.Add(BoolOption(TEXT("bUpdateSkeletonReferencePose"), Skeletal->bUpdateSkeletonReferencePose));
		Options.Add(BoolOption(TEXT("bUseT0AsRefPose"), Skeletal->bUseT0AsRefPose));
		Options.Add(BoolOption(TEXT("bPreserveSmoothingGroups"), Skeletal->bPreserveSmoothingGroups));
		Options.Add(BoolOption(TEXT("bImportMeshesInBoneHierarchy"), Skeletal->bImportMeshesInBoneHierarchy));
		Options.Add(BoolOption(TEXT("bImportMorphTargets"), Skeletal->bImportMorphTargets));
		Options.Add(NumberOption(TEXT("ThresholdPosition"), Skeletal->ThresholdPosition));
	}
	else if (UFbxStaticMeshImportData* Static = Cast<UFbxStaticMeshImportData>(Object))
	{
		AddMeshOptions(Static, Options);
		Options.Add(BoolOption(TEXT("bCombineMeshes"), Static->bCombineMeshes));
		Options.Add(BoolOption(TEXT("bGenerateLightmapUVs"), Static->bGenerateLightmapUVs));
	}
	else if (UFbxTextureImportData* Texture = Cast<UFbxTextureImportData>(Object))
	{
		AddAssetOptions(Texture, Options);
		Options.Add(BoolOption(TEXT("bInvertNormalMaps"), Texture->bInvertNormalMaps));
	}
	return Options;
}
} // namespace

bool UFactory::FactoryCanImport(const FString& Filename)
{
	const FString Extension = FPaths::GetExtension(Filename);
	for (const FString& Format : Formats)
	{
		FString Left = Format;
		int32 Semicolon = INDEX_NONE;
		if (Format.FindChar(';', Semicolon))
		{
			Left = Format.Left(Semicolon);
		}
		if (!Extension.IsEmpty() && Left == Extension)
		{
			return true;
		}
	}
	return false;
}

UObject* UFactory::FactoryCreateFile(UClass* InClass, UObject* InParent, FName InName, EObjectFlags Flags,
	const FString& Filename, const TCHAR* Parms, FFeedbackContext* Warn, bool& bOutOperationCanceled)
{
	(void)InClass;
	(void)InParent;
	(void)InName;
	(void)Flags;
	(void)Filename;
	(void)Parms;
	(void)Warn;
	bOutOperationCanceled = false;
	return nullptr;
}

bool UFactory::IsAutomatedImport() const
{
	return AssetImportTask && AssetImportTask->bAutomated;
}

UFbxImportUI::UFbxImportUI()
{
	StaticMeshImportData = CreateDefaultSubobject<UFbxStaticMeshImportData>(TEXT("StaticMeshImportData"));
	SkeletalMeshImportData = CreateDefaultSubobject<UFbxSkeletalMeshImportData>(TEXT("SkeletalMeshImportData"));
	AnimSequenceImportData = CreateDefaultSubobject<UFbxAnimSequenceImportData>(TEXT("AnimSequenceImportData"));
	TextureImportData = CreateDefaultSubobject<UFbxTextureImportData>(TEXT("TextureImportData"));
	// The user's last dialog choices reach the four settings objects, not the options object itself.
	LoadOptions(StaticMeshImportData);
	LoadOptions(SkeletalMeshImportData);
	LoadOptions(AnimSequenceImportData);
	LoadOptions(TextureImportData);
}

void UFbxImportUI::LoadOptions(UObject* ObjectToLoadOptions)
{
	if (!ObjectToLoadOptions || !GConfig || GEditorPerProjectIni.IsEmpty())
	{
		return;
	}
	const FString Section = TEXT("FBX_Import_UI_Option_") + ObjectToLoadOptions->GetClass()->GetName();
	for (const FSavedOption& Option : SavedOptionsOf(ObjectToLoadOptions))
	{
		FString Value;
		if (GConfig->GetString(*Section, Option.Key, Value, GEditorPerProjectIni) && !Option.Import(Value))
		{
			UE_LOG(LogFbx, Error, TEXT("FBX Options LoadOptions (%s): import failed for %s in: %s"),
				*ObjectToLoadOptions->GetPathName(), Option.Key, *Value);
		}
	}
}

void UFbxImportUI::ResetToDefault()
{
	bIsObjImport = false;
	OriginalImportType = FBXIT_StaticMesh;
	MeshTypeToImport = FBXIT_StaticMesh;
	bImportAsSkeletal = false;
	bImportMesh = true;
	Skeleton = nullptr;
	bCreatePhysicsAsset = 1;
	bImportAnimations = 0;
	OverrideAnimationName.Reset();
	bImportMaterials = 1;
	bImportTextures = 1;
	bAutomatedImportShouldDetectType = true;
}

void UFbxFactory::PostInitProperties()
{
	Super::PostInitProperties();
	Formats = {FString(TEXT("fbx;FBX meshes and animations")), FString(TEXT("obj;OBJ Static meshes"))};
	bEditorImport = 1;
	bText = 0;
	ImportUI = NewObject<UFbxImportUI>(this, NAME_None, RF_NoFlags);
	UFbxImportUI::LoadOptions(ImportUI);
}

bool UFbxFactory::FactoryCanImport(const FString& Filename)
{
	const FString Extension = FPaths::GetExtension(Filename);
	return Extension == TEXT("fbx") || Extension == TEXT("obj");
}

const TArray<UObject*>& UAssetImportTask::GetObjects() const
{
	ResolvedObjects.Empty();
	for (const FString& Path : ImportedObjectPaths)
	{
		if (UObject* Object = StaticFindObject(nullptr, nullptr, *Path))
		{
			ResolvedObjects.Add(Object);
		}
	}
	return ResolvedObjects;
}
