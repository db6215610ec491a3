// Stands in for the engine's Widgets/Layout/SSeparator.h: a thin line between groups of widgets.
#pragma once

#include "CoreMinimal.h"
#include "Styling/AppStyle.h"
#include "Widgets/DeclarativeSyntaxSupport.h"
#include "Widgets/Layout/SBorder.h"

class SSeparator : public SBorder
{
public:
	SLATE_BEGIN_ARGS(SSeparator)
		: _SeparatorImage(FAppStyle::Get().GetBrush("Separator"))
		, _Orientation(Orient_Horizontal)
		, _Thickness(1.0f)
		, _ColorAndOpacity(FSlateColor(FLinearColor::White))
	{
	}
	SLATE_ARGUMENT(const FSlateBrush*, SeparatorImage)
	SLATE_ARGUMENT(EOrientation, Orientation)
	SLATE_ARGUMENT(float, Thickness)
	SLATE_ATTRIBUTE(FSlateColor, ColorAndOpacity)
	SLATE_END_ARGS()

	void Construct(const FArguments& InArgs);

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** As thick as its thickness across, nothing along (it fills what its slot gives). */
	virtual FVector2D HostMeasure(float /*MaxWidth*/, const HostSlate::FLayoutContext& /*Context*/) override
	{
		return Orientation == Orient_Horizontal ? FVector2D(0.0, Thickness) : FVector2D(Thickness, 0.0);
	}
	EOrientation HostGetOrientation() const { return Orientation; }
	float HostGetThickness() const { return Thickness; }
#endif

private:
	EOrientation Orientation = Orient_Horizontal;
	float Thickness = 1.0f;
};
