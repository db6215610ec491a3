// Stands in for the engine's Brushes/SlateColorBrush.h: a brush that fills with one colour.
#pragma once

#include "Styling/SlateBrush.h"

struct FSlateColorBrush : public FSlateBrush
{
	FSlateColorBrush(const FLinearColor& InColor)
	{
		TintColor = FSlateColor(InColor);
		DrawAs = ESlateBrushDrawType::Image;
	}
};
