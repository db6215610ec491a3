// printf-style formatting with any format text and any arguments, as a careless format or a translated one could
// bring.
#pragma once

#include "FuzzSupport.h"

#include <cstring>
#include <vector>

namespace TarvolineFuzz::Printf
{
inline void FuzzOne(const uint8_t* Data, size_t Size)
{
	static const TCHAR* const WideTexts[] = {TEXT(""), TEXT("fox"), TEXT("Grüße 🦊"), nullptr};
	static const char* const NarrowTexts[] = {"", "trot", "\xC3\xA9t\xC3\xA9", "\xFF\xFE broken", nullptr};

	// The first byte is the number of arguments; each takes a kind byte and eight value bytes; the rest is the format.
	if (Size == 0)
	{
		return;
	}
	const size_t ArgCount = Data[0] % 8;
	++Data;
	--Size;
	std::vector<HostFormat::FArg> Args;
	for (size_t Index = 0; Index < ArgCount && Size >= 9; ++Index, Data += 9, Size -= 9)
	{
		uint64 Bits = 0;
		std::memcpy(&Bits, Data + 1, sizeof(Bits));
		switch (Data[0] % 6)
		{
			case 0:
				Args.push_back(HostFormat::MakeArg((int64)Bits));
				break;
			case 1:
				Args.push_back(HostFormat::MakeArg((int32)Bits));
				break;
			case 2:
				Args.push_back(HostFormat::MakeArg((uint64)Bits));
				break;
			case 3:
			{
				double Floating = 0.0;
				std::memcpy(&Floating, &Bits, sizeof(Floating));
				Args.push_back(HostFormat::MakeArg(Floating));
				break;
			}
			case 4:
				Args.push_back(HostFormat::MakeArg(WideTexts[Bits % 4]));
				break;
			default:
				Args.push_back(HostFormat::MakeArg(NarrowTexts[Bits % 5]));
				break;
		}
	}
	const FString Format = TextFromUtf16(Data, Size);

	std::u16string Out;
	HostFormat::FormatInto(Out, *Format, Args.data(), (int32)Args.size());
	// Widths and precisions are capped, so no directive, however written, makes more than a few pages of text.
	TARVOLINE_FUZZ_CHECK(Out.size() <= (size_t)Format.Len() + Args.size() * 16384, "formatting stays bounded");
}
} // namespace TarvolineFuzz::Printf
