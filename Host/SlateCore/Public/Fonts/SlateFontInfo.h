// Stands in for the engine's Fonts/SlateFontInfo.h: a font by typeface name and size.
#pragma once

#include "CoreTypes.h"
#include "Styling/SlateColor.h"
#include "UObject/NameTypes.h"

struct FFontOutlineSettings
{
	int32 OutlineSize = 0;
	FLinearColor OutlineColor = FLinearColor::Black;

	bool operator==(const FFontOutlineSettings& Other) const
	{
		return OutlineSize == Other.OutlineSize && OutlineColor == Other.OutlineColor;
	}

	static const FFontOutlineSettings NoOutline;
};

inline const FFontOutlineSettings FFontOutlineSettings::NoOutline{};

struct FSlateFontInfo
{
	/** The font asset in the engine; the headless UI draws every typeface from the system's sans font. */
	const void* FontObject = nullptr;
	FFontOutlineSettings OutlineSettings;
	/** "Regular", "Bold", "Italic", "Light", ... */
	FName TypefaceFontName;
	/** In points; a float since 5.0. */
	float Size = 24.0f;
	int32 LetterSpacing = 0;
	float SkewAmount = 0.0f;
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: the style name the font was looked up by ("NormalFont"), or none. */
	FName HostStyleName;
#endif

	FSlateFontInfo() = default;
	FSlateFontInfo(const FName InTypefaceFontName, const float InSize,
		const FFontOutlineSettings& InOutlineSettings = FFontOutlineSettings())
		: OutlineSettings(InOutlineSettings)
		, TypefaceFontName(InTypefaceFontName)
		, Size(InSize)
	{
	}

	bool HasValidFont() const { return !TypefaceFontName.IsNone(); }
	bool IsLegacyIdenticalTo(const FSlateFontInfo& Other) const { return *this == Other; }
	bool operator==(const FSlateFontInfo& Other) const
	{
		return TypefaceFontName == Other.TypefaceFontName && Size == Other.Size &&
			OutlineSettings == Other.OutlineSettings && LetterSpacing == Other.LetterSpacing;
	}
	bool operator!=(const FSlateFontInfo& Other) const { return !(*this == Other); }
};
