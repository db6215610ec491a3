// Stands in for the engine's Widgets/Notifications/SProgressBar.h: a bar filled to a fraction, or a moving marquee
// when the fraction is unset.
#pragma once

#include "CoreMinimal.h"
#include "Styling/AppStyle.h"
#include "Styling/SlateTypes.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SLeafWidget.h"

namespace EProgressBarFillType
{
enum Type
{
	LeftToRight,
	RightToLeft,
	FillFromCenter,
	FillFromCenterHorizontal,
	FillFromCenterVertical,
	TopToBottom,
	BottomToTop,
};
}

namespace EProgressBarFillStyle
{
enum Type
{
	Mask,
	Scale,
};
}

class SProgressBar : public SLeafWidget
{
public:
	SLATE_BEGIN_ARGS(SProgressBar)
		: _Style(&FAppStyle::Get().GetWidgetStyle<FProgressBarStyle>("ProgressBar"))
		, _BarFillType(EProgressBarFillType::LeftToRight)
		, _BarFillStyle(EProgressBarFillStyle::Mask)
		, _Percent(TOptional<float>())
		, _FillColorAndOpacity(FLinearColor::White)
		, _BorderPadding(FVector2D(1.0, 0.0))
		, _BackgroundImage(nullptr)
		, _FillImage(nullptr)
		, _MarqueeImage(nullptr)
		, _RefreshRate(2.0f)
	{
	}
	SLATE_STYLE_ARGUMENT(FProgressBarStyle, Style)
	SLATE_ARGUMENT(EProgressBarFillType::Type, BarFillType)
	SLATE_ARGUMENT(EProgressBarFillStyle::Type, BarFillStyle)
	/** The fraction filled, drawn clamped to 0..1; unset draws the marquee. */
	SLATE_ATTRIBUTE(TOptional<float>, Percent)
	SLATE_ATTRIBUTE(FSlateColor, FillColorAndOpacity)
	SLATE_ATTRIBUTE(FVector2D, BorderPadding)
	SLATE_ARGUMENT(const FSlateBrush*, BackgroundImage)
	SLATE_ARGUMENT(const FSlateBrush*, FillImage)
	SLATE_ARGUMENT(const FSlateBrush*, MarqueeImage)
	SLATE_ARGUMENT(float, RefreshRate)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs)
	{
		Style = InArgs._Style;
		BarFillType = InArgs._BarFillType;
		PercentAttribute.Assign(InArgs._Percent);
		FillColorAndOpacityAttribute.Assign(InArgs._FillColorAndOpacity);
		BorderPaddingAttribute.Assign(InArgs._BorderPadding);
	}

	void SetPercent(TAttribute<TOptional<float>> InPercent) { PercentAttribute.Assign(InPercent); }
	void SetFillColorAndOpacity(TAttribute<FSlateColor> InFillColorAndOpacity)
	{
		FillColorAndOpacityAttribute.Assign(InFillColorAndOpacity);
	}
	void SetBarFillType(EProgressBarFillType::Type InBarFillType) { BarFillType = InBarFillType; }
	void SetStyle(const FProgressBarStyle* InStyle) { Style = InStyle ? InStyle : Style; }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override
	{
		PercentAttribute.Update();
		FillColorAndOpacityAttribute.Update();
		BorderPaddingAttribute.Update();
	}
	/** A bar of the editor's default height; it fills the width its slot gives. */
	virtual FVector2D HostMeasure(float /*MaxWidth*/, const HostSlate::FLayoutContext& /*Context*/) override
	{
		return FVector2D(16.0, 12.0);
	}
	/** The fraction as last evaluated; unset means the marquee. */
	const TOptional<float>& HostGetPercent() const { return PercentAttribute.Get(); }
	const FSlateColor& HostGetFillColorAndOpacity() const { return FillColorAndOpacityAttribute.Get(); }
#endif

private:
	const FProgressBarStyle* Style = nullptr;
	EProgressBarFillType::Type BarFillType = EProgressBarFillType::LeftToRight;
	HostSlate::TCachedAttribute<TOptional<float>> PercentAttribute;
	HostSlate::TCachedAttribute<FSlateColor> FillColorAndOpacityAttribute{FSlateColor(FLinearColor::White)};
	HostSlate::TCachedAttribute<FVector2D> BorderPaddingAttribute;
};
