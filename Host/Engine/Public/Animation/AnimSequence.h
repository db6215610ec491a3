// Stands in for the engine's Animation/AnimSequence.h: a clip of sampled bone tracks, one key per frame boundary.
#pragma once

#include "Animation/AnimSequenceBase.h"

/** One bone's keys in its parent's space, as the engine stores raw tracks. */
struct FRawAnimSequenceTrack
{
	TArray<FVector3f> PosKeys;
	TArray<FQuat4f> RotKeys;
	TArray<FVector3f> ScaleKeys;
};

class UAnimSequence : public UAnimSequenceBase
{
	HOST_DECLARE_CLASS(UAnimSequence, UAnimSequenceBase, Engine)
public:
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: the bone tracks, by bone name (the engine keeps them in its animation data model). */
	const TArray<FName>& HostGetTrackNames() const { return TrackNames; }
	const TArray<FRawAnimSequenceTrack>& HostGetTracks() const { return Tracks; }
	void HostSetTracks(const TArray<FName>& InNames, const TArray<FRawAnimSequenceTrack>& InTracks)
	{
		TrackNames = InNames;
		Tracks = InTracks;
	}
	/** Stand-in only: the track of a bone, or nullptr. */
	const FRawAnimSequenceTrack* HostFindTrack(FName BoneName) const;
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	TArray<FName> TrackNames;
	TArray<FRawAnimSequenceTrack> Tracks;
};
