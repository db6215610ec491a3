// Stands in for the engine's Widgets/Layout/SBorder.h: one child drawn over a brush, with padding.
#pragma once

#include "CoreMinimal.h"
#include "Styling/CoreStyle.h"
#include "Styling/SlateBrush.h"
#include "Styling/SlateColor.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SCompoundWidget.h"

class SBorder : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SBorder)
		: _Content()
		, _HAlign(HAlign_Fill)
		, _VAlign(VAlign_Fill)
		, _Padding(FMargin(2.0f))
		, _ColorAndOpacity(FLinearColor::White)
		, _BorderImage(FCoreStyle::Get().GetBrush("Border"))
		, _ForegroundColor(FSlateColor::UseForeground())
		, _BorderBackgroundColor(FLinearColor::White)
		, _ShowEffectWhenDisabled(true)
	{
	}
	SLATE_DEFAULT_SLOT(FArguments, Content)
	SLATE_ARGUMENT(EHorizontalAlignment, HAlign)
	SLATE_ARGUMENT(EVerticalAlignment, VAlign)
	SLATE_ATTRIBUTE(FMargin, Padding)
	SLATE_ATTRIBUTE(FLinearColor, ColorAndOpacity)
	SLATE_ATTRIBUTE(const FSlateBrush*, BorderImage)
	SLATE_ATTRIBUTE(FSlateColor, ForegroundColor)
	SLATE_ATTRIBUTE(FSlateColor, BorderBackgroundColor)
	SLATE_ATTRIBUTE(FVector2D, DesiredSizeScale)
	SLATE_ATTRIBUTE(bool, ShowEffectWhenDisabled)
	SLATE_ARGUMENT(bool, FlipForRightToLeftFlowDirection)
	SLATE_END_ARGS()

	SBorder();
	void Construct(const FArguments& InArgs);

	void SetContent(TSharedRef<SWidget> InContent) { ChildSlot[InContent]; }
	const TSharedRef<SWidget>& GetContent() const { return ChildSlot.GetWidget(); }
	void ClearContent() { ChildSlot.DetachWidget(); }
	void SetBorderImage(TAttribute<const FSlateBrush*> InBorderImage) { BorderImageAttribute.Assign(InBorderImage); }
	void SetBorderBackgroundColor(TAttribute<FSlateColor> InColor) { BorderBackgroundColorAttribute.Assign(InColor); }
	void SetPadding(TAttribute<FMargin> InPadding) { ChildSlot.SetPadding(InPadding); }
	void SetHAlign(EHorizontalAlignment HAlign) { ChildSlot.SetHorizontalAlignment(HAlign); }
	void SetVAlign(EVerticalAlignment VAlign) { ChildSlot.SetVerticalAlignment(VAlign); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override
	{
		SCompoundWidget::HostUpdateAttributes();
		BorderImageAttribute.Update();
		BorderBackgroundColorAttribute.Update();
	}
	const FSlateBrush* HostGetBorderImage() const { return BorderImageAttribute.Get(); }
	const FSlateColor& HostGetBorderBackgroundColor() const { return BorderBackgroundColorAttribute.Get(); }
#endif

private:
	HostSlate::TCachedAttribute<const FSlateBrush*> BorderImageAttribute{nullptr};
	HostSlate::TCachedAttribute<FSlateColor> BorderBackgroundColorAttribute{FSlateColor(FLinearColor::White)};
};
