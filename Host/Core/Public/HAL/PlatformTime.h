// Stand-in for the engine's HAL/PlatformTime.h: a monotonic clock for measuring intervals.
#pragma once

#include "CoreTypes.h"

struct FPlatformTime
{
	/** Seconds on a monotonic clock with an arbitrary origin; only differences mean anything. */
	static double Seconds();
	/** The monotonic clock in cycles (microseconds here), wrapping at 32 bits. */
	static uint32 Cycles();
	static uint64 Cycles64();
	static double GetSecondsPerCycle() { return 1.0e-6; }
	static double GetSecondsPerCycle64() { return 1.0e-6; }
	static float ToMilliseconds(uint32 Cycles) { return (float)(1000.0 * GetSecondsPerCycle() * Cycles); }
	static float ToSeconds(uint32 Cycles) { return (float)(GetSecondsPerCycle() * Cycles); }
	static double ToMilliseconds64(uint64 Cycles) { return 1000.0 * GetSecondsPerCycle64() * (double)Cycles; }
	static double ToSeconds64(uint64 Cycles) { return GetSecondsPerCycle64() * (double)Cycles; }
	/** Local date and time as "MM/DD/YY HH:MM:SS" in a buffer owned by the caller (at least 18 characters). */
	static TCHAR* StrTimestamp(TCHAR* Dest, SIZE_T DestSize);
	/** Local date as "MM/DD/YY". */
	static TCHAR* StrDate(TCHAR* Dest, SIZE_T DestSize);
	/** Local time as "HH:MM:SS". */
	static TCHAR* StrTime(TCHAR* Dest, SIZE_T DestSize);
};
