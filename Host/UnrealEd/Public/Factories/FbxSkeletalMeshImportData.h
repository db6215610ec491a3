// Stands in for the engine's Factories/FbxSkeletalMeshImportData.h.
#pragma once

#include "Factories/FbxMeshImportData.h"

class UFbxSkeletalMeshImportData : public UFbxMeshImportData
{
	HOST_DECLARE_CLASS(UFbxSkeletalMeshImportData, UFbxMeshImportData, UnrealEd)
public:
	bool bUpdateSkeletonReferencePose = false;
	bool bUseT0AsRefPose = false;
	bool bPreserveSmoothingGroups = true;
	bool bImportMeshesInBoneHierarchy = true;
	bool bImportMorphTargets = false;
	bool bImportVertexAttributes = false;
	float ThresholdPosition = 0.00002f;
};
