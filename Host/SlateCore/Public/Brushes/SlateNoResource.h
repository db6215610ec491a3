// Stands in for the engine's Brushes/SlateNoResource.h: a brush that draws nothing.
#pragma once

#include "Styling/SlateBrush.h"

struct FSlateNoResource : public FSlateBrush
{
	FSlateNoResource() { DrawAs = ESlateBrushDrawType::NoDrawType; }
};
