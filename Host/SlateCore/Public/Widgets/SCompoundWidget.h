// Stands in for the engine's Widgets/SCompoundWidget.h: a widget made of one child slot, the base of panels and
// most widgets.
#pragma once

#include "CoreMinimal.h"
#include "Layout/BasicLayoutWidgetSlot.h"
#include "Styling/SlateColor.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/SWidget.h"

class SCompoundWidget : public SWidget
{
public:
	virtual FChildren* GetChildren() override { return &ChildSlot; }

	FLinearColor GetColorAndOpacity() const { return ColorAndOpacityAttribute.Get(); }
	void SetColorAndOpacity(const TAttribute<FLinearColor>& InColorAndOpacity)
	{
		ColorAndOpacityAttribute.Assign(InColorAndOpacity);
	}
	FSlateColor GetForegroundColor() const { return ForegroundColorAttribute.Get(); }
	void SetForegroundColor(const TAttribute<FSlateColor>& InForegroundColor)
	{
		ForegroundColorAttribute.Assign(InForegroundColor);
	}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostUpdateAttributes() override
	{
		ColorAndOpacityAttribute.Update();
		ForegroundColorAttribute.Update();
		ChildSlot.HostUpdateAttributes();
	}
#endif

protected:
	SCompoundWidget()
		: ChildSlot(this)
	{
	}

	/** The widget's one child: `ChildSlot[ SNew(...) ]`. */
	FCompoundWidgetOneChildSlot ChildSlot;
	HostSlate::TCachedAttribute<FLinearColor> ColorAndOpacityAttribute{FLinearColor::White};
	HostSlate::TCachedAttribute<FSlateColor> ForegroundColorAttribute{FSlateColor::UseForeground()};
};
