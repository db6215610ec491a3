// Stands in for the engine's Styling/CoreStyle.h: the core style set and the default font.
#pragma once

#include "CoreTypes.h"
#include "Fonts/SlateFontInfo.h"
#include "Styling/ISlateStyle.h"

class FCoreStyle
{
public:
	/** In the editor the core style is the application's style set. */
	static const ISlateStyle& Get();

	/** The default font in a typeface ("Regular", "Bold", "Italic", "Light") and size in points. */
	static FSlateFontInfo GetDefaultFontStyle(const FName InTypefaceFontName, const float InSize,
		const FFontOutlineSettings& InOutlineSettings = FFontOutlineSettings());

	static const int32 RegularTextSize = 10;
	static const int32 SmallTextSize = 8;
};
