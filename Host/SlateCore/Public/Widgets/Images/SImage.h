// Stands in for the engine's Widgets/Images/SImage.h: draws a brush.
#pragma once

#include "CoreMinimal.h"
#include "Styling/CoreStyle.h"
#include "Styling/SlateBrush.h"
#include "Styling/SlateColor.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SLeafWidget.h"

class SImage : public SLeafWidget
{
public:
	SLATE_BEGIN_ARGS(SImage)
		: _Image(FCoreStyle::Get().GetDefaultBrush())
		, _ColorAndOpacity(FLinearColor::White)
		, _FlipForRightToLeftFlowDirection(false)
	{
	}
	SLATE_ATTRIBUTE(const FSlateBrush*, Image)
	SLATE_ATTRIBUTE(FSlateColor, ColorAndOpacity)
	SLATE_ATTRIBUTE(TOptional<FVector2D>, DesiredSizeOverride)
	SLATE_ARGUMENT(bool, FlipForRightToLeftFlowDirection)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs)
	{
		ImageAttribute.Assign(InArgs._Image);
		ColorAndOpacityAttribute.Assign(InArgs._ColorAndOpacity);
		DesiredSizeOverrideAttribute.Assign(InArgs._DesiredSizeOverride);
	}

	void SetImage(TAttribute<const FSlateBrush*> InImage) { ImageAttribute.Assign(InImage); }
	void SetColorAndOpacity(const TAttribute<FSlateColor>& InColorAndOpacity)
	{
		ColorAndOpacityAttribute.Assign(InColorAndOpacity);
	}
	void SetDesiredSizeOverride(TAttribute<TOptional<FVector2D>> InDesiredSizeOverride)
	{
		DesiredSizeOverrideAttribute.Assign(InDesiredSizeOverride);
	}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override
	{
		ImageAttribute.Update();
		ColorAndOpacityAttribute.Update();
		DesiredSizeOverrideAttribute.Update();
	}
	/** The brush's image size, or the override. */
	virtual FVector2D HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context) override;
	/** The brush as last evaluated. */
	const FSlateBrush* HostGetImage() const { return ImageAttribute.Get(); }
	const FSlateColor& HostGetColorAndOpacity() const { return ColorAndOpacityAttribute.Get(); }
#endif

private:
	HostSlate::TCachedAttribute<const FSlateBrush*> ImageAttribute{nullptr};
	HostSlate::TCachedAttribute<FSlateColor> ColorAndOpacityAttribute{FSlateColor(FLinearColor::White)};
	HostSlate::TCachedAttribute<TOptional<FVector2D>> DesiredSizeOverrideAttribute;
};
