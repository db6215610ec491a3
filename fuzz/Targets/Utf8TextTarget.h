// UTF-8 decoding, which every answer body, file and ini setting goes through before anything else reads it.
#pragma once

#include "FuzzSupport.h"

namespace TarvolineFuzz::Utf8Text
{
inline bool IsSurrogate(char16_t Unit)
{
	return Unit >= 0xD800 && Unit <= 0xDFFF;
}

inline void FuzzOne(const uint8_t* Data, size_t Size)
{
	// Bytes as UTF-8: whatever was made of them is valid text that survives a trip to UTF-8 and back unchanged.
	const std::u16string Decoded = HostConv::FromUtf8(reinterpret_cast<const char*>(Data), (int32)Size);
	TARVOLINE_FUZZ_CHECK(Decoded.size() <= Size, "no more units than bytes");
	for (size_t Index = 0; Index < Decoded.size(); ++Index)
	{
		if (Decoded[Index] >= 0xD800 && Decoded[Index] <= 0xDBFF)
		{
			TARVOLINE_FUZZ_CHECK(Index + 1 < Decoded.size() && Decoded[Index + 1] >= 0xDC00 && Decoded[Index + 1] <= 0xDFFF,
				"a high surrogate is followed by a low one");
			++Index;
		}
		else
		{
			TARVOLINE_FUZZ_CHECK(!IsSurrogate(Decoded[Index]), "no lone low surrogate");
		}
	}
	const std::string Encoded = HostConv::ToUtf8(Decoded.data(), (int32)Decoded.size());
	TARVOLINE_FUZZ_CHECK(HostConv::FromUtf8(Encoded.data(), (int32)Encoded.size()) == Decoded, "decoded text round-trips");

	// The same bytes as UTF-16 units: unpaired surrogates become '?', everything else comes back as it was.
	std::u16string Units;
	for (size_t Index = 0; Index + 1 < Size; Index += 2)
	{
		Units.push_back((char16_t)(Data[Index] | (Data[Index + 1] << 8)));
	}
	const std::string Narrow = HostConv::ToUtf8(Units.data(), (int32)Units.size());
	const std::u16string Back = HostConv::FromUtf8(Narrow.data(), (int32)Narrow.size());
	TARVOLINE_FUZZ_CHECK(Back.size() == Units.size(), "one unit back for every unit");
	for (size_t Index = 0; Index < Units.size(); ++Index)
	{
		TARVOLINE_FUZZ_CHECK(Back[Index] == Units[Index] || (Back[Index] == u'?' && IsSurrogate(Units[Index])),
			"only unpaired surrogates change");
	}
}
} // namespace TarvolineFuzz::Utf8Text
