// Stand-in only (no engine counterpart): how fast the core ticker's clock runs against the wall clock. An editor
// frame hands the core ticker DeltaSeconds * GetTimeDilation(), so a test can let a 3-second poll interval pass in a
// fraction of the wall time without touching the plug-in's intervals. HTTP and widgets still see real time.
// Frame loops apply it: HostEditorLoop::Tick (Slate/Public/HostEditorLoop.h) and the automation runner's frame.
//
// A commandlet waits on the platform clock instead (FPlatformTime::Seconds and FPlatformProcess::Sleep); its speed is
// HostPlatformClock's, which HostEditor-Cmd takes from the environment variable TARVOLINE_HOST_CLOCK_SCALE.
#pragma once

#include "CoreTypes.h"

namespace HostEditorLoop
{
namespace Private
{
inline float& TimeDilationStorage()
{
	static float Dilation = 1.0f;
	return Dilation;
}
} // namespace Private

/** Sets the factor the core ticker's delta is multiplied by each frame (1 = real time); values <= 0 are ignored. */
inline void SetTimeDilation(float InDilation)
{
	if (InDilation > 0.0f)
	{
		Private::TimeDilationStorage() = InDilation;
	}
}

inline float GetTimeDilation()
{
	return Private::TimeDilationStorage();
}

/** The delta a frame hands the core ticker for a frame of DeltaSeconds. */
inline float DilateTickerDelta(float DeltaSeconds)
{
	return DeltaSeconds * GetTimeDilation();
}
} // namespace HostEditorLoop

/** Sets a time dilation for a scope and restores the previous one after. */
class FHostScopedTimeDilation
{
public:
	explicit FHostScopedTimeDilation(float InDilation)
		: Previous(HostEditorLoop::GetTimeDilation())
	{
		HostEditorLoop::SetTimeDilation(InDilation);
	}
	~FHostScopedTimeDilation() { HostEditorLoop::SetTimeDilation(Previous); }
	FHostScopedTimeDilation(const FHostScopedTimeDilation&) = delete;
	FHostScopedTimeDilation& operator=(const FHostScopedTimeDilation&) = delete;

private:
	float Previous;
};

namespace HostPlatformClock
{
/**
 * From now on FPlatformTime::Seconds runs Scale times as fast as the wall clock (continuing from where it stands) and
 * FPlatformProcess::Sleep sleeps 1/Scale of what it is asked (1 = real time); values <= 0 are ignored. Set it before
 * other threads read the clock. HTTP time limits and everything outside this process keep the wall clock.
 */
void SetScale(double Scale);

/** The platform clock's speed against the wall clock. */
double GetScale();
} // namespace HostPlatformClock
