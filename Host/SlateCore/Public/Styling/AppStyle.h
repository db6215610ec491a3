// Stands in for the engine's Styling/AppStyle.h: the application's style set, "EditorStyle" in the editor.
#pragma once

#include "CoreTypes.h"
#include "Styling/ISlateStyle.h"

class FAppStyle
{
public:
	static const ISlateStyle& Get();
	static const FName GetAppStyleSetName();

	template <class T>
	static const T& GetWidgetStyle(FName PropertyName, const ANSICHAR* Specifier = nullptr)
	{
		return Get().GetWidgetStyle<T>(PropertyName, Specifier);
	}
	static float GetFloat(FName PropertyName, const ANSICHAR* Specifier = nullptr)
	{
		return Get().GetFloat(PropertyName, Specifier);
	}
	static FVector2D GetVector(FName PropertyName, const ANSICHAR* Specifier = nullptr)
	{
		return Get().GetVector(PropertyName, Specifier);
	}
	static const FLinearColor& GetColor(FName PropertyName, const ANSICHAR* Specifier = nullptr)
	{
		return Get().GetColor(PropertyName, Specifier);
	}
	static const FSlateColor GetSlateColor(FName PropertyName, const ANSICHAR* Specifier = nullptr)
	{
		return Get().GetSlateColor(PropertyName, Specifier);
	}
	static const FMargin& GetMargin(FName PropertyName, const ANSICHAR* Specifier = nullptr)
	{
		return Get().GetMargin(PropertyName, Specifier);
	}
	static const FSlateBrush* GetBrush(FName PropertyName, const ANSICHAR* Specifier = nullptr)
	{
		return Get().GetBrush(PropertyName, Specifier);
	}
	static const FSlateBrush* GetOptionalBrush(
		FName PropertyName, const ANSICHAR* Specifier = nullptr, const FSlateBrush* const DefaultBrush = nullptr)
	{
		return Get().GetOptionalBrush(PropertyName, Specifier, DefaultBrush);
	}
	static FSlateFontInfo GetFontStyle(FName PropertyName, const ANSICHAR* Specifier = nullptr)
	{
		return Get().GetFontStyle(PropertyName, Specifier);
	}
};
