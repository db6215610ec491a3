// Asset, folder and download names made from a user's sentence or a model's file name.
#pragma once

#include "FuzzSupport.h"

#include "TarvolineImport.h"

namespace TarvolineFuzz::AssetName
{
inline bool IsNameCharacter(TCHAR Character)
{
	return (Character >= 'a' && Character <= 'z') || (Character >= '0' && Character <= '9') || Character == '_';
}

inline void FuzzOne(const uint8_t* Data, size_t Size)
{
	if (Size == 0)
	{
		return;
	}
	// The first byte is the length limit (a few negative ones included); the text is UTF-16, so any letter of any
	// script and unpaired surrogates can turn up.
	const int32 MaxLength = (int32)Data[0] - 3;
	const FString Text = TextFromUtf16(Data + 1, Size - 1);
	const FString Name = MakeAssetName(Text, MaxLength);

	TARVOLINE_FUZZ_CHECK(!Name.IsEmpty(), "a name is never empty");
	for (const TCHAR Character : Name)
	{
		TARVOLINE_FUZZ_CHECK(IsNameCharacter(Character), "only lower-case ASCII letters, digits and '_'");
	}
	TARVOLINE_FUZZ_CHECK(Name[0] != '_' && Name[Name.Len() - 1] != '_', "no '_' at either end");
	TARVOLINE_FUZZ_CHECK(!Name.Contains(TEXT("__"), ESearchCase::CaseSensitive), "separators are single");
	TARVOLINE_FUZZ_CHECK(!(Name[0] >= '0' && Name[0] <= '9'), "a name never starts with a digit");
	// The limit holds except for the fallback word and the prefix a leading digit gets.
	TARVOLINE_FUZZ_CHECK(Name.Len() <= FMath::Max(MaxLength, 9) + 2, "the length limit holds");
	if (Name.Len() <= MaxLength)
	{
		TARVOLINE_FUZZ_CHECK(MakeAssetName(Name, MaxLength).Equals(Name, ESearchCase::CaseSensitive),
			"a name that fits is its own name");
	}
}
} // namespace TarvolineFuzz::AssetName
