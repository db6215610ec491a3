// Stands in for the engine's Widgets/Layout/SBox.h: one child with padding, alignment and size overrides.
#pragma once

#include "CoreMinimal.h"
#include "Layout/BasicLayoutWidgetSlot.h"
#include "Types/SlateStructs.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SPanel.h"

class SBox : public SPanel
{
public:
	SLATE_BEGIN_ARGS(SBox)
		: _HAlign(HAlign_Fill)
		, _VAlign(VAlign_Fill)
		, _Padding(0.0f)
		, _Content()
		, _WidthOverride(FOptionalSize())
		, _HeightOverride(FOptionalSize())
		, _MinDesiredWidth(FOptionalSize())
		, _MinDesiredHeight(FOptionalSize())
		, _MaxDesiredWidth(FOptionalSize())
		, _MaxDesiredHeight(FOptionalSize())
		, _MinAspectRatio(FOptionalSize())
		, _MaxAspectRatio(FOptionalSize())
	{
	}
	SLATE_ARGUMENT(EHorizontalAlignment, HAlign)
	SLATE_ARGUMENT(EVerticalAlignment, VAlign)
	SLATE_ATTRIBUTE(FMargin, Padding)
	SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_ATTRIBUTE(FOptionalSize, WidthOverride)
	SLATE_ATTRIBUTE(FOptionalSize, HeightOverride)
	SLATE_ATTRIBUTE(FOptionalSize, MinDesiredWidth)
	SLATE_ATTRIBUTE(FOptionalSize, MinDesiredHeight)
	SLATE_ATTRIBUTE(FOptionalSize, MaxDesiredWidth)
	SLATE_ATTRIBUTE(FOptionalSize, MaxDesiredHeight)
	SLATE_ATTRIBUTE(FOptionalSize, MinAspectRatio)
	SLATE_ATTRIBUTE(FOptionalSize, MaxAspectRatio)
	SLATE_END_ARGS()

	SBox();
	void Construct(const FArguments& InArgs);
	virtual FChildren* GetChildren() override { return &ChildSlot; }

	void SetContent(const TSharedRef<SWidget>& InContent) { ChildSlot[InContent]; }
	void SetHAlign(EHorizontalAlignment HAlign) { ChildSlot.SetHorizontalAlignment(HAlign); }
	void SetVAlign(EVerticalAlignment VAlign) { ChildSlot.SetVerticalAlignment(VAlign); }
	void SetPadding(TAttribute<FMargin> InPadding) { ChildSlot.SetPadding(InPadding); }
	void SetWidthOverride(TAttribute<FOptionalSize> InWidthOverride) { WidthOverride.Assign(InWidthOverride); }
	void SetHeightOverride(TAttribute<FOptionalSize> InHeightOverride) { HeightOverride.Assign(InHeightOverride); }
	void SetMinDesiredWidth(TAttribute<FOptionalSize> InMinDesiredWidth) { MinDesiredWidth.Assign(InMinDesiredWidth); }
	void SetMinDesiredHeight(TAttribute<FOptionalSize> InMinDesiredHeight) { MinDesiredHeight.Assign(InMinDesiredHeight); }
	void SetMaxDesiredWidth(TAttribute<FOptionalSize> InMaxDesiredWidth) { MaxDesiredWidth.Assign(InMaxDesiredWidth); }
	void SetMaxDesiredHeight(TAttribute<FOptionalSize> InMaxDesiredHeight) { MaxDesiredHeight.Assign(InMaxDesiredHeight); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override;
	/** The content's wish, bounded by the minimum and maximum sizes and replaced by the overrides. */
	virtual FVector2D HostMeasure(float MaxWidth, const HostSlate::FLayoutContext& Context) override;
	const FOptionalSize& HostGetWidthOverride() const { return WidthOverride.Get(); }
	const FOptionalSize& HostGetHeightOverride() const { return HeightOverride.Get(); }
	const FOptionalSize& HostGetMinDesiredWidth() const { return MinDesiredWidth.Get(); }
	const FOptionalSize& HostGetMinDesiredHeight() const { return MinDesiredHeight.Get(); }
	const FOptionalSize& HostGetMaxDesiredWidth() const { return MaxDesiredWidth.Get(); }
	const FOptionalSize& HostGetMaxDesiredHeight() const { return MaxDesiredHeight.Get(); }
#endif

protected:
	FHostOneChildSlot ChildSlot;

private:
	HostSlate::TCachedAttribute<FOptionalSize> WidthOverride;
	HostSlate::TCachedAttribute<FOptionalSize> HeightOverride;
	HostSlate::TCachedAttribute<FOptionalSize> MinDesiredWidth;
	HostSlate::TCachedAttribute<FOptionalSize> MinDesiredHeight;
	HostSlate::TCachedAttribute<FOptionalSize> MaxDesiredWidth;
	HostSlate::TCachedAttribute<FOptionalSize> MaxDesiredHeight;
	HostSlate::TCachedAttribute<FOptionalSize> MinAspectRatio;
	HostSlate::TCachedAttribute<FOptionalSize> MaxAspectRatio;
};
