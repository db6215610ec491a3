// Stands in for the engine's Factories/FbxTextureImportData.h.
#pragma once

#include "Factories/FbxAssetImportData.h"

class UFbxTextureImportData : public UFbxAssetImportData
{
	HOST_DECLARE_CLASS(UFbxTextureImportData, UFbxAssetImportData, UnrealEd)
public:
	bool bInvertNormalMaps = false;
};
