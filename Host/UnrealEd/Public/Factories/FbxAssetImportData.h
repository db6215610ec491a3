// Stands in for the engine's Factories/FbxAssetImportData.h: import settings shared by every FBX asset kind.
#pragma once

#include "EditorFramework/AssetImportData.h"

class UFbxAssetImportData : public UAssetImportData
{
	HOST_DECLARE_CLASS(UFbxAssetImportData, UAssetImportData, UnrealEd)
public:
	FVector ImportTranslation = FVector::ZeroVector;
	FRotator ImportRotation = FRotator::ZeroRotator;
	float ImportUniformScale = 1.0f;
	/** Converts the scene to the engine's axes (Z up, X front); on by default. */
	bool bConvertScene = true;
	bool bForceFrontXAxis = false;
	/** Converts the scene's unit to centimetres; off by default, so file numbers are taken as centimetres. */
	bool bConvertSceneUnit = false;
	bool bImportAsScene = false;
};
