// The editor's main loop for tests.
#include "HostEditorLoop.h"
#include "Containers/Ticker.h"
#include "CoreGlobals.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "HostFrameHooks.h"
#include "HttpManager.h"
#include "HttpModule.h"

namespace HostEditorLoop
{
namespace
{
constexpr double FrameSeconds = 1.0 / 60.0;

/** Runs frames paced to the wall clock; each frame's delta is the real time since the previous one. */
template <typename StopType>
bool RunPaced(StopType&& ShouldStop, double WallSeconds)
{
	const double Start = FPlatformTime::Seconds();
	double Last = Start;
	for (;;)
	{
		if (ShouldStop())
		{
			return true;
		}
		const double Now = FPlatformTime::Seconds();
		if (Now - Start >= WallSeconds)
		{
			return false;
		}
		const double Delta = Now - Last;
		Last = Now;
		Tick((float)(Delta > 0.0 ? Delta : 0.0));
		const double Spent = FPlatformTime::Seconds() - Now;
		if (Spent < FrameSeconds)
		{
			FPlatformProcess::Sleep((float)(FrameSeconds - Spent));
		}
	}
}
} // namespace

void Tick(float DeltaSeconds)
{
	FHttpModule::Get().GetHttpManager().Tick(DeltaSeconds);
	FTSTicker::GetCoreTicker().Tick(DilateTickerDelta(DeltaSeconds));
	HostFrameHooks::RunHooks(DeltaSeconds);
	++GFrameCounter;
}

void RunFor(double WallSeconds)
{
	RunPaced([]() { return false; }, WallSeconds);
}

bool RunUntil(const TFunction<bool()>& Done, double TimeoutWallSeconds)
{
	return RunPaced([&Done]() { return Done(); }, TimeoutWallSeconds);
}

void RunFrames(int32 FrameCount, float DeltaSeconds)
{
	for (int32 Frame = 0; Frame < FrameCount; ++Frame)
	{
		Tick(DeltaSeconds);
	}
}
} // namespace HostEditorLoop
