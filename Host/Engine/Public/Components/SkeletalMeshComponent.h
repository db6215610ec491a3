// Stands in for the engine's Components/SkeletalMeshComponent.h: a skeletal mesh in the level with its animation
// mode. In single-node mode the component's anim instance plays one asset; AnimationData is what that instance
// starts from whenever it is (re)created, e.g. when the level loads.
#pragma once

#include "Components/SkinnedMeshComponent.h"
#include "Containers/EnumAsByte.h"

class UAnimationAsset;
class USkeletalMesh;

namespace EAnimationMode
{
enum Type
{
	AnimationBlueprint,
	AnimationSingleNode,
	AnimationCustomMode
};
}

struct FSingleAnimationPlayData
{
	TObjectPtr<UAnimationAsset> AnimToPlay;
	uint8 bSavedLooping : 1 = 1;
	uint8 bSavedPlaying : 1 = 1;
	float SavedPosition = 0.0f;
	float SavedPlayRate = 1.0f;
};

class USkeletalMeshComponent : public USkinnedMeshComponent
{
	HOST_DECLARE_CLASS(USkeletalMeshComponent, USkinnedMeshComponent, Engine)
public:
	/** Changes the mesh; with bReinitPose the pose is reset to the mesh's reference pose. */
	virtual void SetSkeletalMesh(USkeletalMesh* NewMesh, bool bReinitPose = true);
	void SetSkeletalMeshAsset(USkeletalMesh* NewMesh) { SetSkeletalMesh(NewMesh, false); }
	USkeletalMesh* GetSkeletalMeshAsset() const;
	/** A new mode, or bForceInitAnimScriptInstance, rebuilds the anim instance (from AnimationData in single-node mode). */
	void SetAnimationMode(EAnimationMode::Type InAnimationMode, bool bForceInitAnimScriptInstance = true);
	EAnimationMode::Type GetAnimationMode() const { return AnimationMode; }
	/** Puts the asset on the live single-node instance, paused; in Animation Blueprint mode only a warning. */
	void SetAnimation(UAnimationAsset* NewAnimToPlay);
	void Play(bool bLooping);
	void Stop();
	bool IsPlaying() const { return bHostInstancePlaying; }

	FSingleAnimationPlayData AnimationData;

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: what the live anim instance plays (the engine's UAnimSingleNodeInstance). */
	UAnimationAsset* HostGetInstanceAsset() const { return HostInstanceAsset.Get(); }
	bool HostIsInstanceLooping() const { return bHostInstanceLooping; }
	/** Stand-in only: how many times the pose was reset to the reference pose. */
	int32 HostGetPoseResetCount() const { return HostPoseResets; }
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	void InitAnimInstance();

	TEnumAsByte<EAnimationMode::Type> AnimationMode = EAnimationMode::AnimationBlueprint;
	TObjectPtr<UAnimationAsset> HostInstanceAsset;
	bool bHostInstancePlaying = false;
	bool bHostInstanceLooping = false;
	int32 HostPoseResets = 0;
};
