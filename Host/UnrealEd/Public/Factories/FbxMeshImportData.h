// Stands in for the engine's Factories/FbxMeshImportData.h.
#pragma once

#include "Factories/FbxAssetImportData.h"

class UFbxMeshImportData : public UFbxAssetImportData
{
	HOST_DECLARE_CLASS(UFbxMeshImportData, UFbxAssetImportData, UnrealEd)
public:
	bool bTransformVertexToAbsolute = true;
	bool bBakePivotInVertex = false;
	bool bImportMeshLODs = false;
	bool bReorderMaterialToFbxOrder = true;
};
