// Stands in for the engine's Styling/SlateColor.h: a colour that is either given or taken from the widget's
// foreground.
#pragma once

#include "CoreTypes.h"
#include "Math/Color.h"

namespace ESlateColorStylingMode
{
enum Type
{
	UseColor_Specified,
	UseColor_ColorTable,
	UseColor_Foreground,
	UseColor_Foreground_Subdued,
	UseColor_UseStyle,
};
}

struct FSlateColor
{
	/** The widget's foreground colour. */
	FSlateColor()
		: SpecifiedColor(FLinearColor::White)
		, ColorUseRule(ESlateColorStylingMode::UseColor_Foreground)
	{
	}
	FSlateColor(const FLinearColor& InColor)
		: SpecifiedColor(InColor)
		, ColorUseRule(ESlateColorStylingMode::UseColor_Specified)
	{
	}

	static FSlateColor UseForeground() { return FSlateColor(ESlateColorStylingMode::UseColor_Foreground); }
	static FSlateColor UseSubduedForeground() { return FSlateColor(ESlateColorStylingMode::UseColor_Foreground_Subdued); }
	static FSlateColor UseStyle() { return FSlateColor(ESlateColorStylingMode::UseColor_UseStyle); }

	bool IsColorSpecified() const { return ColorUseRule == ESlateColorStylingMode::UseColor_Specified; }
	const FLinearColor& GetSpecifiedColor() const { return SpecifiedColor; }
	ESlateColorStylingMode::Type GetColorUseRule() const { return ColorUseRule; }

	bool operator==(const FSlateColor& Other) const
	{
		return ColorUseRule == Other.ColorUseRule && (!IsColorSpecified() || SpecifiedColor == Other.SpecifiedColor);
	}
	bool operator!=(const FSlateColor& Other) const { return !(*this == Other); }

private:
	explicit FSlateColor(ESlateColorStylingMode::Type InRule)
		: SpecifiedColor(FLinearColor::White)
		, ColorUseRule(InRule)
	{
	}

	FLinearColor SpecifiedColor;
	ESlateColorStylingMode::Type ColorUseRule;
};
