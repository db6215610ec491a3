// Stands in for the engine's Factories/FbxImportUI.h: the options of one FBX import, as the import dialog shows them.
#pragma once

#include "Containers/EnumAsByte.h"
#include "Factories/FbxAnimSequenceImportData.h"
#include "Factories/FbxSkeletalMeshImportData.h"
#include "Factories/FbxStaticMeshImportData.h"
#include "Factories/FbxTextureImportData.h"
#include "UObject/Object.h"

class USkeleton;
class UPhysicsAsset;

enum EFBXImportType : int
{
	FBXIT_StaticMesh,
	FBXIT_SkeletalMesh,
	FBXIT_Animation,
	FBXIT_MAX,
};

class UFbxImportUI : public UObject
{
	HOST_DECLARE_CLASS(UFbxImportUI, UObject, UnrealEd)
public:
	/** Makes the four settings objects, as the engine's constructor does. */
	UFbxImportUI();

	bool bIsObjImport = false;
	TEnumAsByte<enum EFBXImportType> OriginalImportType = FBXIT_StaticMesh;
	TEnumAsByte<enum EFBXImportType> MeshTypeToImport = FBXIT_StaticMesh;
	bool bImportAsSkeletal = false;
	bool bImportMesh = true;
	/** The skeleton an animation (or a mesh) is bound to; an animation-only import needs one. */
	TObjectPtr<class USkeleton> Skeleton;
	uint32 bCreatePhysicsAsset : 1 = 1;
	TObjectPtr<class UPhysicsAsset> PhysicsAsset;
	uint32 bAutoComputeLodDistances : 1 = 1;
	/** Off as the engine's base settings have it; the user's saved choice is loaded over it by the factory. */
	uint32 bImportAnimations : 1 = 0;
	/** A name for the clip made beside a new mesh; empty gives "<Mesh>_Anim". */
	FString OverrideAnimationName;
	uint32 bImportRigidMesh : 1 = 0;
	uint32 bImportMaterials : 1 = 1;
	uint32 bImportTextures : 1 = 1;
	uint32 bResetToFbxOnMaterialConflict : 1 = 0;
	uint32 bOverrideFullName : 1 = 1;
	TObjectPtr<class UFbxStaticMeshImportData> StaticMeshImportData;
	TObjectPtr<class UFbxSkeletalMeshImportData> SkeletalMeshImportData;
	TObjectPtr<class UFbxAnimSequenceImportData> AnimSequenceImportData;
	TObjectPtr<class UFbxTextureImportData> TextureImportData;
	/** With this on, an automated import replaces MeshTypeToImport/OriginalImportType with what it finds in the file. */
	bool bAutomatedImportShouldDetectType = true;
	bool bIsReimport = false;
	bool bAllowContentTypeImport = false;

	void ResetToDefault();

	/**
	 * Loads the options saved by the last FBX dialog (section "FBX_Import_UI_Option_<Class>" of the per-project user
	 * settings) into an FBX options or settings object; a value that does not parse is logged as an error.
	 */
	static void LoadOptions(UObject* ObjectToLoadOptions);
};
