// Stands in for the engine's Styling/SlateWidgetStyle.h: the base of every widget style (button, text, ...).
#pragma once

#include "CoreTypes.h"
#include "UObject/NameTypes.h"

struct FSlateWidgetStyle
{
	FSlateWidgetStyle() = default;
	virtual ~FSlateWidgetStyle() = default;

	/** The style struct's type, e.g. "FButtonStyle". */
	virtual const FName GetTypeName() const { return FName(); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: the name the style was looked up by in its style set ("PrimaryButton"), or none. */
	FName HostStyleName;
#endif
};

/** Declares a widget style's type name, its default and the type-name accessor. */
#define HOST_SLATE_WIDGET_STYLE(StyleType)                                                                               \
	static const FName TypeName;                                                                                         \
	virtual const FName GetTypeName() const override { return TypeName; }                                               \
	static const StyleType& GetDefault()                                                                                 \
	{                                                                                                                    \
		static StyleType Default;                                                                                        \
		return Default;                                                                                                  \
	}
