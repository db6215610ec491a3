// Stands in for the engine's Animation/AnimSequenceBase.h: a clip with a length, sampled at a frame rate.
#pragma once

#include "Animation/AnimationAsset.h"

class UAnimSequenceBase : public UAnimationAsset
{
	HOST_DECLARE_CLASS(UAnimSequenceBase, UAnimationAsset, Engine)
public:
	/** Number of frames divided by the frame rate, in seconds. */
	virtual float GetPlayLength() const override;
	/** Keys per track: frames + 1. */
	virtual int32 GetNumberOfSampledKeys() const { return NumberOfFrames > 0 ? NumberOfFrames + 1 : 0; }
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: frame count and rate as imported. */
	int32 HostGetNumberOfFrames() const { return NumberOfFrames; }
	double HostGetFrameRate() const { return FrameRate; }
	void HostSetTiming(int32 InNumberOfFrames, double InFrameRate)
	{
		NumberOfFrames = InNumberOfFrames;
		FrameRate = InFrameRate;
	}
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	int32 NumberOfFrames = 0;
	double FrameRate = 30.0;
};
