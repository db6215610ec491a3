// Stands in for the engine's Factories/FbxAnimSequenceImportData.h: how an FBX take becomes a clip.
#pragma once

#include "Containers/EnumAsByte.h"
#include "Factories/FbxAssetImportData.h"
#include "Math/Interval.h"

enum EFBXAnimationLengthImportType : int
{
	/** The take's stored time span. */
	FBXALIT_ExportedTime,
	/** First to last key. */
	FBXALIT_AnimatedKey,
	/** FrameImportRange. */
	FBXALIT_SetRange,
	FBXALIT_MAX,
};

class UFbxAnimSequenceImportData : public UFbxAssetImportData
{
	HOST_DECLARE_CLASS(UFbxAnimSequenceImportData, UFbxAssetImportData, UnrealEd)
public:
	bool bImportMeshesInBoneHierarchy = true;
	TEnumAsByte<enum EFBXAnimationLengthImportType> AnimationLength = FBXALIT_ExportedTime;
	FInt32Interval FrameImportRange;
	/** On: always 30 frames per second. */
	bool bUseDefaultSampleRate = false;
	/** 0: the rate that hits every key. */
	int32 CustomSampleRate = 0;
	/** On: a take that is not a whole number of frames is rounded to frames instead of refused. */
	bool bSnapToClosestFrameBoundary = false;
	bool bImportCustomAttribute = true;
	bool bDeleteExistingCustomAttributeCurves = false;
	bool bDeleteExistingNonCurveCustomAttributes = false;
	/** Off: no bone track is imported, only curves. */
	bool bImportBoneTracks = true;
	bool bSetMaterialDriveParameterOnCustomAttribute = false;
	bool bAddCurveMetadataToSkeleton = true;
	TArray<FString> MaterialCurveSuffixes = {FString(TEXT("_mat"))};
	bool bRemoveRedundantKeys = true;
	bool bDeleteExistingMorphTargetCurves = false;
	bool bDoNotImportCurveWithZero = true;
	bool bPreserveLocalTransform = false;
};
