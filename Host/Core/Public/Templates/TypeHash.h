// Stand-in for the engine's Templates/TypeHash.h: GetTypeHash for the built-in types.
#pragma once

#include "CoreTypes.h"
#include <type_traits>

FORCEINLINE constexpr uint32 HashCombine(uint32 A, uint32 C)
{
	uint32 B = 0x9e3779b9;
	A += B;
	A -= B; A -= C; A ^= (C >> 13);
	B -= C; B -= A; B ^= (A << 8);
	C -= A; C -= B; C ^= (B >> 13);
	A -= B; A -= C; A ^= (C >> 12);
	B -= C; B -= A; B ^= (A << 16);
	C -= A; C -= B; C ^= (B >> 5);
	A -= B; A -= C; A ^= (C >> 3);
	B -= C; B -= A; B ^= (A << 10);
	C -= A; C -= B; C ^= (B >> 15);
	return C;
}

template <typename T>
FORCEINLINE std::enable_if_t<std::is_integral_v<T> || std::is_enum_v<T>, uint32> GetTypeHash(T Value)
{
	const uint64 V = (uint64)Value;
	return (uint32)(V ^ (V >> 32));
}

FORCEINLINE uint32 GetTypeHash(const void* Ptr)
{
	const UPTRINT V = (UPTRINT)Ptr;
	return (uint32)((V >> 4) ^ (V >> 36));
}

FORCEINLINE uint32 GetTypeHash(double Value)
{
	uint64 Bits;
	__builtin_memcpy(&Bits, &Value, sizeof(Bits));
	return (uint32)(Bits ^ (Bits >> 32));
}

FORCEINLINE uint32 GetTypeHash(float Value)
{
	uint32 Bits;
	__builtin_memcpy(&Bits, &Value, sizeof(Bits));
	return Bits;
}
