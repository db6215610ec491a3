// The monotonic clock and local time stamps.
#include "HAL/PlatformTime.h"

#include "HostTimeDilation.h"

#include <cstdio>
#include <ctime>

namespace
{
/** Formats the local time with strftime into a TCHAR buffer. */
TCHAR* FormatLocalTime(TCHAR* Dest, SIZE_T DestSize, const char* Format)
{
	if (Dest == nullptr || DestSize == 0)
	{
		return Dest;
	}
	const std::time_t Now = std::time(nullptr);
	std::tm Local;
	localtime_r(&Now, &Local);
	char Buffer[64];
	const SIZE_T Len = std::strftime(Buffer, sizeof(Buffer), Format, &Local);
	SIZE_T Index = 0;
	for (; Index < Len && Index + 1 < DestSize; ++Index)
	{
		Dest[Index] = (TCHAR)(unsigned char)Buffer[Index];
	}
	Dest[Index] = 0;
	return Dest;
}
} // namespace

namespace
{
double WallSeconds()
{
	timespec Now;
	clock_gettime(CLOCK_MONOTONIC, &Now);
	return (double)Now.tv_sec + (double)Now.tv_nsec * 1.0e-9;
}

/** The platform clock: Anchor + (wall - WallAnchor) * Scale, so a change of speed never makes it jump. */
double ClockScale = 1.0;
double ClockAnchor = 0.0;
double WallAnchor = 0.0;
} // namespace

double FPlatformTime::Seconds()
{
	return ClockScale == 1.0 ? WallSeconds() : ClockAnchor + (WallSeconds() - WallAnchor) * ClockScale;
}

void HostPlatformClock::SetScale(double Scale)
{
	if (Scale > 0.0)
	{
		ClockAnchor = FPlatformTime::Seconds();
		WallAnchor = WallSeconds();
		ClockScale = Scale;
	}
}

double HostPlatformClock::GetScale()
{
	return ClockScale;
}

uint64 FPlatformTime::Cycles64()
{
	timespec Now;
	clock_gettime(CLOCK_MONOTONIC, &Now);
	return (uint64)Now.tv_sec * 1000000ull + (uint64)Now.tv_nsec / 1000ull;
}

uint32 FPlatformTime::Cycles()
{
	return (uint32)Cycles64();
}

TCHAR* FPlatformTime::StrTimestamp(TCHAR* Dest, SIZE_T DestSize)
{
	return FormatLocalTime(Dest, DestSize, "%m/%d/%y %H:%M:%S");
}

TCHAR* FPlatformTime::StrDate(TCHAR* Dest, SIZE_T DestSize)
{
	return FormatLocalTime(Dest, DestSize, "%m/%d/%y");
}

TCHAR* FPlatformTime::StrTime(TCHAR* Dest, SIZE_T DestSize)
{
	return FormatLocalTime(Dest, DestSize, "%H:%M:%S");
}
