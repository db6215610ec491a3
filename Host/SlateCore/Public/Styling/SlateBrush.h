// Stands in for the engine's Styling/SlateBrush.h: how to draw a box, an image or a colour, named by its style.
#pragma once

#include "CoreTypes.h"
#include "Layout/Margin.h"
#include "Math/Vector2D.h"
#include "Styling/SlateColor.h"
#include "UObject/NameTypes.h"

namespace ESlateBrushDrawType
{
enum Type
{
	NoDrawType,
	Box,
	Border,
	Image,
	RoundedBox,
};
}

struct FSlateBrush
{
	FVector2D ImageSize = FVector2D(32.0, 32.0);
	FMargin Margin;
	FSlateColor TintColor = FSlateColor(FLinearColor::White);
	ESlateBrushDrawType::Type DrawAs = ESlateBrushDrawType::Image;

	FSlateBrush() = default;
	virtual ~FSlateBrush() = default;

	/** The image resource the brush draws; the stand-in uses the style name it was looked up by. */
	const FName GetResourceName() const { return ResourceName; }
	void SetResourceName(FName InName) { ResourceName = InName; }
	bool operator==(const FSlateBrush& Other) const
	{
		return ResourceName == Other.ResourceName && DrawAs == Other.DrawAs && TintColor == Other.TintColor;
	}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** Stand-in only: the style name the brush was looked up by ("ToolPanel.GroupBorder"), or none. */
	FName HostStyleName;
#endif

protected:
	FName ResourceName;
};
