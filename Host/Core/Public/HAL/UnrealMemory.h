// Stand-in for the engine's HAL/UnrealMemory.h: the memory copies of FMemory (the engine's CoreMinimal.h brings it
// in; here it is included where it is used).
#pragma once

#include "CoreTypes.h"
#include <cstring>

struct FMemory
{
	/** Copies Count bytes; the ranges must not overlap. */
	static void* Memcpy(void* Dest, const void* Src, SIZE_T Count) { return std::memcpy(Dest, Src, Count); }
	/** Copies Count bytes; the ranges may overlap. */
	static void* Memmove(void* Dest, const void* Src, SIZE_T Count) { return std::memmove(Dest, Src, Count); }
	/** Sets Count bytes to zero. */
	static void* Memzero(void* Dest, SIZE_T Count) { return std::memset(Dest, 0, Count); }
};
