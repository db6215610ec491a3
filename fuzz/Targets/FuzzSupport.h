// What the targets on engine code share: turning raw input bytes into engine text.
#pragma once

#include "FuzzCheck.h"

#include "Containers/StringConv.h"
#include "Containers/UnrealString.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace TarvolineFuzz
{
/** Bytes as they arrive from outside: UTF-8, malformed sequences and all. */
inline FString TextFromUtf8(const uint8_t* Data, size_t Size)
{
	FString Text;
	Text.HostStorage() = HostConv::FromUtf8(reinterpret_cast<const char*>(Data), (int32)Size);
	return Text;
}

/** Bytes taken two at a time as UTF-16 units, so that unpaired surrogates and any code unit can be reached. */
inline FString TextFromUtf16(const uint8_t* Data, size_t Size)
{
	FString Text;
	std::u16string& Units = Text.HostStorage();
	for (size_t Index = 0; Index + 1 < Size; Index += 2)
	{
		const char16_t Unit = (char16_t)(Data[Index] | (Data[Index + 1] << 8));
		// A NUL would end the C string the engine's functions see, so it stands for a space here.
		Units.push_back(Unit == 0 ? u' ' : Unit);
	}
	return Text;
}

inline std::string Utf8Of(const FString& Text)
{
	return HostConv::ToUtf8(*Text, Text.Len());
}
} // namespace TarvolineFuzz
