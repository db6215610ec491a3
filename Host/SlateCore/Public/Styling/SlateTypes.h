// Stands in for the engine's Styling/SlateTypes.h: the style structs of the common widgets.
#pragma once

#include "CoreTypes.h"
#include "Fonts/SlateFontInfo.h"
#include "Layout/Margin.h"
#include "Math/Vector2D.h"
#include "Styling/SlateBrush.h"
#include "Styling/SlateColor.h"
#include "Styling/SlateWidgetStyle.h"

struct FTextBlockStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FTextBlockStyle)

	FSlateFontInfo Font = FSlateFontInfo(FName("Regular"), 10.0f);
	FSlateColor ColorAndOpacity = FSlateColor::UseForeground();
	FVector2D ShadowOffset;
	FLinearColor ShadowColorAndOpacity = FLinearColor::Black;

	FTextBlockStyle& SetFont(const FSlateFontInfo& InFont)
	{
		Font = InFont;
		return *this;
	}
	FTextBlockStyle& SetFont(const FName InTypefaceFontName, float InSize)
	{
		Font = FSlateFontInfo(InTypefaceFontName, InSize);
		return *this;
	}
	FTextBlockStyle& SetFontSize(float InSize)
	{
		Font.Size = InSize;
		return *this;
	}
	FTextBlockStyle& SetColorAndOpacity(const FSlateColor& InColorAndOpacity)
	{
		ColorAndOpacity = InColorAndOpacity;
		return *this;
	}
};

struct FButtonStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FButtonStyle)

	FSlateBrush Normal;
	FSlateBrush Hovered;
	FSlateBrush Pressed;
	FSlateBrush Disabled;
	FSlateColor NormalForeground = FSlateColor::UseForeground();
	FSlateColor HoveredForeground = FSlateColor::UseForeground();
	FSlateColor PressedForeground = FSlateColor::UseForeground();
	FSlateColor DisabledForeground = FSlateColor::UseSubduedForeground();
	FMargin NormalPadding = FMargin(4.0f, 2.0f);
	FMargin PressedPadding = FMargin(4.0f, 3.0f, 4.0f, 1.0f);

	FButtonStyle& SetNormal(const FSlateBrush& InNormal)
	{
		Normal = InNormal;
		return *this;
	}
	FButtonStyle& SetHovered(const FSlateBrush& InHovered)
	{
		Hovered = InHovered;
		return *this;
	}
	FButtonStyle& SetPressed(const FSlateBrush& InPressed)
	{
		Pressed = InPressed;
		return *this;
	}
	FButtonStyle& SetNormalPadding(const FMargin& InPadding)
	{
		NormalPadding = InPadding;
		return *this;
	}
};

struct FEditableTextStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FEditableTextStyle)

	FSlateFontInfo Font = FSlateFontInfo(FName("Regular"), 10.0f);
	FSlateColor ColorAndOpacity = FSlateColor::UseForeground();
};

struct FEditableTextBoxStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FEditableTextBoxStyle)

	FSlateBrush BackgroundImageNormal;
	FSlateBrush BackgroundImageReadOnly;
	FTextBlockStyle TextStyle;
	FMargin Padding = FMargin(4.0f, 2.0f);
	FSlateColor ForegroundColor = FSlateColor::UseForeground();
	FSlateColor BackgroundColor = FSlateColor(FLinearColor::White);
};

struct FComboButtonStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FComboButtonStyle)

	FButtonStyle ButtonStyle;
	FSlateBrush DownArrowImage;
	FMargin ContentPadding = FMargin(4.0f, 2.0f);
};

struct FComboBoxStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FComboBoxStyle)

	FComboButtonStyle ComboButtonStyle;
	FMargin ContentPadding = FMargin(4.0f, 2.0f);
	FMargin MenuRowPadding = FMargin(4.0f, 2.0f);
};

struct FTableRowStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FTableRowStyle)

	FSlateBrush SelectorFocusedBrush;
	FSlateBrush ActiveBrush;
	FSlateColor TextColor = FSlateColor::UseForeground();
};

struct FProgressBarStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FProgressBarStyle)

	FSlateBrush BackgroundImage;
	FSlateBrush FillImage;
	FSlateBrush MarqueeImage;
	bool EnableFillAnimation = false;
};

struct FHyperlinkStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FHyperlinkStyle)

	FButtonStyle UnderlineStyle;
	FTextBlockStyle TextStyle;
	FMargin Padding;
};

struct FScrollBarStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FScrollBarStyle)

	float Thickness = 8.0f;
};

struct FScrollBoxStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FScrollBoxStyle)

	FSlateBrush TopShadowBrush;
	FSlateBrush BottomShadowBrush;
};

struct FCheckBoxStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FCheckBoxStyle)

	FSlateBrush UncheckedImage;
	FSlateBrush CheckedImage;
	FMargin Padding;
	FSlateColor ForegroundColor = FSlateColor::UseForeground();
};

struct FDockTabStyle : public FSlateWidgetStyle
{
	HOST_SLATE_WIDGET_STYLE(FDockTabStyle)

	FSlateBrush ContentAreaBrush;
	FMargin TabPadding;
};

inline const FName FTextBlockStyle::TypeName(TEXT("FTextBlockStyle"));
inline const FName FButtonStyle::TypeName(TEXT("FButtonStyle"));
inline const FName FEditableTextStyle::TypeName(TEXT("FEditableTextStyle"));
inline const FName FEditableTextBoxStyle::TypeName(TEXT("FEditableTextBoxStyle"));
inline const FName FComboButtonStyle::TypeName(TEXT("FComboButtonStyle"));
inline const FName FComboBoxStyle::TypeName(TEXT("FComboBoxStyle"));
inline const FName FTableRowStyle::TypeName(TEXT("FTableRowStyle"));
inline const FName FProgressBarStyle::TypeName(TEXT("FProgressBarStyle"));
inline const FName FHyperlinkStyle::TypeName(TEXT("FHyperlinkStyle"));
inline const FName FScrollBarStyle::TypeName(TEXT("FScrollBarStyle"));
inline const FName FScrollBoxStyle::TypeName(TEXT("FScrollBoxStyle"));
inline const FName FCheckBoxStyle::TypeName(TEXT("FCheckBoxStyle"));
inline const FName FDockTabStyle::TypeName(TEXT("FDockTabStyle"));

/** The state of a check box. */
enum class ECheckBoxState : uint8
{
	Unchecked,
	Checked,
	Undetermined,
};
