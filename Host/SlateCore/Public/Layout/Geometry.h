// Stands in for the engine's Layout/Geometry.h: where a widget was placed and how big it is.
#pragma once

#include "CoreTypes.h"
#include "Math/Vector2D.h"

struct FGeometry
{
	/** The widget's size in its own space. */
	FVector2D Size;
	/** The widget's top-left corner in window space. */
	FVector2D AbsolutePosition;
	float Scale = 1.0f;

	FGeometry() = default;
	FGeometry(const FVector2D& InAbsolutePosition, const FVector2D& InSize)
		: Size(InSize)
		, AbsolutePosition(InAbsolutePosition)
	{
	}

	const FVector2D& GetLocalSize() const { return Size; }
	FVector2D GetAbsoluteSize() const { return Size * Scale; }
	const FVector2D& GetAbsolutePosition() const { return AbsolutePosition; }
};
