// Stands in for the engine's Factories/FbxStaticMeshImportData.h.
#pragma once

#include "Factories/FbxMeshImportData.h"

class UFbxStaticMeshImportData : public UFbxMeshImportData
{
	HOST_DECLARE_CLASS(UFbxStaticMeshImportData, UFbxMeshImportData, UnrealEd)
public:
	bool bCombineMeshes = false;
	bool bGenerateLightmapUVs = true;
};
