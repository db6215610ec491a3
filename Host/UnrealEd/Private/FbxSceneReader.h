// Reads an FBX file with assimp (no post-processing) and answers in the engine's frame: centimetres as the file's
// numbers are (no unit scaling, as the engine's importer with Convert Scene Unit off), Z up, front -Y, then Y negated
// to the engine's left-handed axes, so that a Y-up file maps (x, y, z) to (x, z, y).
#pragma once

#include "Animation/AnimSequence.h"
#include "CoreMinimal.h"
#include "ReferenceSkeleton.h"
#include <memory>
#include <string>
#include <vector>

class UFbxAnimSequenceImportData;
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
};

class FHostFbxScene
{
public:
	FHostFbxScene();
	~FHostFbxScene();

	/** Reads the file; false (with a reason) when assimp cannot. */
	bool Open(const FString& Filename, FString& OutError);

	bool HasSkinnedMesh() const;
	bool HasMesh() const;
	int32 GetNumTakes() const;
	FString GetTakeName(int32 TakeIndex) const;

	/**
	 * The reference skeleton: the subtree of the top-most node under the scene root that holds the skinned joints
	 * (an "Armature" null becomes the root bone), parents first, with the bind pose; for a mesh without skin, one
	 * bone for the mesh node. Namespaces are removed from names.
	 */
	bool BuildReferenceSkeleton(FReferenceSkeleton& OutSkeleton, TArray<FName>& OutWeightedBones, FString& OutError) const;
	/** Tight box of every mesh vertex in the bind pose, in the engine's frame. */
	FBox ComputeBounds(int32& OutNumVertices, int32& OutNumTriangles) const;
	/**
	 * Samples a take onto the skeleton's bones: tracks of bones the skeleton lacks are dropped; a take that matches no
	 * bone, has no length, or is not a whole number of frames (unless snapping) gives false and no clip.
	 */
	bool SampleTake(int32 TakeIndex, const FReferenceSkeleton& Skeleton, const UFbxAnimSequenceImportData* Settings,
		FHostSampledTake& OutTake, FString& OutError) const;

private:
	FHostMatrix ToEngineGlobal(const FHostMatrix& Global) const;
	FHostMatrix NodeGlobal(const aiNode* Node) const;
	const aiNode* TopNodeUnderRoot(const aiNode* Node) const;

	std::unique_ptr<Assimp::Importer> Importer;
	const aiScene* Scene = nullptr;
	/** File axes to the engine's: K = N * A, where A is the axis conversion and N negates Y. */
	FHostMatrix AxisToEngine;
	FHostMatrix Mirror;
};

/** The file's name for a node or bone without its namespace ("rig:Hips" -> "Hips"). */
FString HostStripNamespace(const char* Name);
