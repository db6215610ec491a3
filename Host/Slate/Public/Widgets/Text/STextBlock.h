// Stands in for the engine's Widgets/Text/STextBlock.h: a read-only text.
#pragma once

#include "CoreMinimal.h"
#include "Framework/SlateDelegates.h"
#include "Styling/CoreStyle.h"
#include "Styling/SlateColor.h"
#include "Styling/SlateTypes.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SLeafWidget.h"

class STextBlock : public SLeafWidget
{
public:
	SLATE_BEGIN_ARGS(STextBlock)
		: _Text()
		, _TextStyle(&FCoreStyle::Get().GetWidgetStyle<FTextBlockStyle>("NormalText"))
		, _WrapTextAt(0.0f)
		, _AutoWrapText(false)
		, _Justification(ETextJustify::Left)
		, _LineHeightPercentage(1.0f)
		, _MinDesiredWidth(0.0f)
		, _SimpleTextMode(false)
	{
	}
	SLATE_ATTRIBUTE(FText, Text)
	SLATE_STYLE_ARGUMENT(FTextBlockStyle, TextStyle)
	SLATE_ATTRIBUTE(FSlateFontInfo, Font)
	SLATE_ATTRIBUTE(FSlateColor, ColorAndOpacity)
	SLATE_ATTRIBUTE(FVector2D, ShadowOffset)
	SLATE_ATTRIBUTE(FLinearColor, ShadowColorAndOpacity)
	SLATE_ATTRIBUTE(FText, HighlightText)
	SLATE_ATTRIBUTE(float, WrapTextAt)
	SLATE_ATTRIBUTE(bool, AutoWrapText)
	SLATE_ATTRIBUTE(ETextJustify::Type, Justification)
	SLATE_ATTRIBUTE(FMargin, Margin)
	SLATE_ATTRIBUTE(float, LineHeightPercentage)
	SLATE_ATTRIBUTE(float, MinDesiredWidth)
	SLATE_ARGUMENT(TOptional<ETextOverflowPolicy>, OverflowPolicy)
	SLATE_ARGUMENT(bool, SimpleTextMode)
	SLATE_EVENT(FOnClicked, OnDoubleClicked)
	SLATE_END_ARGS()

	STextBlock();
	void Construct(const FArguments& InArgs);

	/** The text as last evaluated. */
	const FText& GetText() const { return TextAttribute.Get(); }
	void SetText(TAttribute<FText> InText) { TextAttribute.Assign(InText); }
	void SetFont(const TAttribute<FSlateFontInfo>& InFont) { FontAttribute.Assign(InFont); }
	void SetColorAndOpacity(const TAttribute<FSlateColor>& InColorAndOpacity)
	{
		ColorAndOpacityAttribute.Assign(InColorAndOpacity);
	}
	void SetTextStyle(const FTextBlockStyle* InTextStyle) { TextStyle = InTextStyle ? InTextStyle : TextStyle; }
	void SetAutoWrapText(TAttribute<bool> InAutoWrapText) { AutoWrapTextAttribute.Assign(InAutoWrapText); }
	void SetWrapTextAt(TAttribute<float> InWrapTextAt) { WrapTextAtAttribute.Assign(InWrapTextAt); }
	void SetJustification(TAttribute<ETextJustify::Type> InJustification) { JustificationAttribute.Assign(InJustification); }
	void SetMargin(TAttribute<FMargin> InMargin) { MarginAttribute.Assign(InMargin); }
	void SetHighlightText(TAttribute<FText> InText) { HighlightTextAttribute.Assign(InText); }
	void SetMinDesiredWidth(TAttribute<float> InMinDesiredWidth) { MinDesiredWidthAttribute.Assign(InMinDesiredWidth); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override;
	virtual TOptional<FText> HostGetShownText() const override { return TextAttribute.Get(); }
	/** The text's size in its font, wrapped to the width when AutoWrapText (or at WrapTextAt), plus the margin. */
	virtual FVector2D HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context) override;
	/** The font used: the Font argument when given, else the text style's. */
	FSlateFontInfo HostGetFont() const;
	/** The colour used: ColorAndOpacity when given, else the text style's. */
	FSlateColor HostGetColorAndOpacity() const;
	bool HostGetAutoWrapText() const { return AutoWrapTextAttribute.Get(); }
	float HostGetWrapTextAt() const { return WrapTextAtAttribute.Get(); }
	ETextJustify::Type HostGetJustification() const { return JustificationAttribute.Get(); }
	const FMargin& HostGetMargin() const { return MarginAttribute.Get(); }
	float HostGetMinDesiredWidth() const { return MinDesiredWidthAttribute.Get(); }
#endif

private:
	HostSlate::TCachedAttribute<FText> TextAttribute;
	const FTextBlockStyle* TextStyle = nullptr;
	HostSlate::TCachedAttribute<FSlateFontInfo> FontAttribute;
	HostSlate::TCachedAttribute<FSlateColor> ColorAndOpacityAttribute;
	HostSlate::TCachedAttribute<FVector2D> ShadowOffsetAttribute;
	HostSlate::TCachedAttribute<FLinearColor> ShadowColorAndOpacityAttribute;
	HostSlate::TCachedAttribute<FText> HighlightTextAttribute;
	HostSlate::TCachedAttribute<float> WrapTextAtAttribute{0.0f};
	HostSlate::TCachedAttribute<bool> AutoWrapTextAttribute{false};
	HostSlate::TCachedAttribute<ETextJustify::Type> JustificationAttribute{ETextJustify::Left};
	HostSlate::TCachedAttribute<FMargin> MarginAttribute;
	HostSlate::TCachedAttribute<float> LineHeightPercentageAttribute{1.0f};
	HostSlate::TCachedAttribute<float> MinDesiredWidthAttribute{0.0f};
	FOnClicked OnDoubleClicked;
};
