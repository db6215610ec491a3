// Reads an FBX file with assimp (no post-processing) and answers in the engine's frame: centimetres as the file's
// numbers are (no unit scaling, as the engine's importer with Convert Scene Unit off), Z up, front -Y, then Y negated
// to the engine's left-handed axes, so that a Y-up file maps (x, y, z) to (x, z, y).
#pragma once

#include "Animation/AnimSequence.h"
#include "CoreMinimal.h"
#include "ReferenceSkeleton.h"
#include <map>
#include <memory>
#include <string>
#include <vector>

class UFbxAnimSequenceImportData;
class UFbxAssetImportData;
struct aiNode;
struct aiScene;

namespace Assimp
{
class Importer;
}

/** A 4x4 affine transform acting on column vectors, in double precision. */
struct FHostMatrix
{
	double M[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

	FHostMatrix operator*(const FHostMatrix& B) const;
	FHostMatrix Inverse() const;
	FVector TransformPoint(const FVector& P) const;
	/** Rotation, translation and (possibly negative on X) scale. */
	FTransform ToTransform() const;
	static FHostMatrix FromTransform(const FVector& T, const FQuat& R, const FVector& S);
};

/** One clip sampled from a take, bound to a skeleton. */
struct FHostSampledTake
{
	FString Name;
	int32 NumberOfFrames = 0;
	double FrameRate = 30.0;
	TArray<FName> TrackNames;
	TArray<FRawAnimSequenceTrack> Tracks;
	/** Bones of the file under the skeleton's root that the skeleton lacks; their tracks are left out. */
	TArray<FString> UnknownBones;
};

/** The engine's message when a file's skeleton has more than one root. */
extern const TCHAR* const HostFbxMultipleRootsMessage;

class FHostFbxScene
{
public:
	FHostFbxScene();
	~FHostFbxScene();

	/** Reads the file; false (with a reason) when assimp cannot. */
	bool Open(const FString& Filename, FString& OutError);

	/**
	 * The transform options of an import: scene conversion (axes, front X, unit) and the extra translation, rotation
	 * and uniform scale, which the engine applies on top of the conversion. Null keeps the engine's defaults.
	 */
	void SetTransformOptions(const UFbxAssetImportData* Settings);

	/** The creator string of the file's header ("Blender (stable FBX IO) - ..."); empty when the header has none. */
	const FString& GetCreator() const { return Creator; }
	/** Whether the header's creator starts with "Blender" (case ignored), as the engine tests it. */
	bool IsFromBlender() const;

	bool HasSkinnedMesh() const;
	bool HasMesh() const;
	int32 GetNumTakes() const;
	FString GetTakeName(int32 TakeIndex) const;

	/**
	 * The reference skeleton, as the engine's importer builds it: from each skinned joint the importer climbs to the
	 * top-most node under the scene root, except that in a Blender file a null named "armature" (any case) directly
	 * under the scene root is not climbed into; more than one such root is refused with
	 * HostFbxMultipleRootsMessage. Parents first, bind pose, names through HostFbxBoneName. For a mesh without skin,
	 * one bone for the mesh node.
	 */
	bool BuildReferenceSkeleton(FReferenceSkeleton& OutSkeleton, TArray<FName>& OutWeightedBones, FString& OutError) const;
	/** Tight box of every mesh vertex in the bind pose, in the engine's frame. */
	FBox ComputeBounds(int32& OutNumVertices, int32& OutNumTriangles) const;
	/**
	 * The node of the file that stands for the skeleton's root bone: the node whose raw name is the bone's, else the
	 * first whose engine name (HostFbxBoneName) is. Null when the file lacks it.
	 */
	const aiNode* FindSkeletonRootNode(const FReferenceSkeleton& Skeleton) const;
	/**
	 * Samples a take onto the skeleton's bones from the file's nodes under the skeleton's root node: bones the
	 * skeleton lacks are listed in OutTake.UnknownBones and left out, skeleton bones the file lacks get no track (they
	 * keep the reference pose). A take without the root node, without length, or not a whole number of frames (unless
	 * snapping) gives false and no clip.
	 */
	bool SampleTake(int32 TakeIndex, const FReferenceSkeleton& Skeleton, const UFbxAnimSequenceImportData* Settings,
		FHostSampledTake& OutTake, FString& OutError) const;

private:
	FHostMatrix ToEngineGlobal(const FHostMatrix& Global) const;
	FHostMatrix NodeGlobal(const aiNode* Node) const;
	const aiNode* RootSkeletonOf(const aiNode* Link) const;
	bool IsBlenderArmatureNull(const aiNode* Node) const;

	std::unique_ptr<Assimp::Importer> Importer;
	const aiScene* Scene = nullptr;
	/** File axes to the engine's: K = N * A, where A is the axis conversion and N negates Y. */
	FHostMatrix AxisToEngine;
	FHostMatrix Mirror;
	/** The file's own axes to Z up, front -Y (the FBX SDK's conversion), before the mirror. */
	FHostMatrix FileAxes;
	double UnitScaleFactor = 1.0;
	FString Creator;
	/** The node class each model of the file declares ("Null", "LimbNode", "Mesh", ...), by raw model name. */
	std::map<std::string, std::string> ModelClasses;
};

/** The file's name for a node or bone without its namespace ("rig:Hips" -> "Hips"). */
FString HostStripNamespace(const char* Name);

/**
 * A node's bone name as the engine makes it: the text after the last ':', each of . , / ` % turned into '_', then
 * trimmed, and blanks turned into '-' ("ns:Left Arm.001 " -> "Left-Arm_001").
 */
FString HostFbxBoneName(const char* Name);
