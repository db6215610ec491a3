// Stands in for the engine's Styling/ISlateStyle.h: a named set of brushes, fonts, colours and widget styles.
// The stand-in's set answers every name: a name it does not know yields a default, as the engine's falls back (it
// also logs there), and every name asked for is remembered so tests can see which styles a panel uses.
#pragma once

#include "Containers/Array.h"
#include "CoreTypes.h"
#include "Fonts/SlateFontInfo.h"
#include "Layout/Margin.h"
#include "Math/Color.h"
#include "Math/Vector2D.h"
#include "Styling/SlateBrush.h"
#include "Styling/SlateColor.h"
#include "Styling/SlateWidgetStyle.h"
#include "Templates/Function.h"
#include "UObject/NameTypes.h"

class ISlateStyle
{
public:
	virtual ~ISlateStyle() = default;

	/** The set's name, e.g. "EditorStyle". */
	virtual const FName& GetStyleSetName() const = 0;

	/** The widget style of that name; a reference that stays valid for the life of the program. */
	template <typename WidgetStyleType>
	const WidgetStyleType& GetWidgetStyle(FName PropertyName, const ANSICHAR* Specifier = nullptr,
		const WidgetStyleType* DefaultValue = nullptr, bool bWarnIfNotFound = true) const
	{
		(void)bWarnIfNotFound;
		const FSlateWidgetStyle& Found = HostFindOrAddWidgetStyle(WidgetStyleType::TypeName, Join(PropertyName, Specifier),
			[DefaultValue]() -> FSlateWidgetStyle*
			{ return new WidgetStyleType(DefaultValue ? *DefaultValue : WidgetStyleType::GetDefault()); });
		return static_cast<const WidgetStyleType&>(Found);
	}

	virtual float GetFloat(const FName PropertyName, const ANSICHAR* Specifier = nullptr, float DefaultValue = 0.0f) const = 0;
	virtual FVector2D GetVector(const FName PropertyName, const ANSICHAR* Specifier = nullptr,
		FVector2D DefaultValue = FVector2D::ZeroVector) const = 0;
	virtual const FLinearColor& GetColor(const FName PropertyName, const ANSICHAR* Specifier = nullptr) const = 0;
	virtual const FSlateColor GetSlateColor(const FName PropertyName, const ANSICHAR* Specifier = nullptr) const = 0;
	virtual const FMargin& GetMargin(const FName PropertyName, const ANSICHAR* Specifier = nullptr) const = 0;
	/** Never null: an unknown name yields a default brush. */
	virtual const FSlateBrush* GetBrush(const FName PropertyName, const ANSICHAR* Specifier = nullptr) const = 0;
	virtual const FSlateBrush* GetOptionalBrush(const FName PropertyName, const ANSICHAR* Specifier = nullptr,
		const FSlateBrush* const DefaultBrush = nullptr) const = 0;
	virtual const FSlateBrush* GetDefaultBrush() const = 0;
	virtual FSlateFontInfo GetFontStyle(const FName PropertyName, const ANSICHAR* Specifier = nullptr) const = 0;

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: every name looked up in this set so far, in first-asked order. */
	virtual TArray<FName> HostGetRequestedNames() const = 0;
#endif

	/** "Name.Specifier", or the name alone. */
	static FName Join(FName First, const ANSICHAR* Second);

protected:
	/** The stored widget style of that type and name, made with Make on first use. */
	virtual const FSlateWidgetStyle& HostFindOrAddWidgetStyle(
		FName TypeName, FName StyleName, TFunction<FSlateWidgetStyle*()> Make) const = 0;
};
