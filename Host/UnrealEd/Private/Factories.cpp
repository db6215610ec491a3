// Factories, the FBX import options and import tasks.
#include "AssetImportTask.h"
#include "Factories/FbxFactory.h"
#include "Factories/FbxImportUI.h"
#include "Misc/Paths.h"

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
	bImportAnimations = 1;
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
