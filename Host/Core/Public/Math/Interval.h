// Stands in for the engine's Math/Interval.h: closed ranges such as an animation's frame range.
#pragma once

#include "CoreTypes.h"

template <typename ElementType>
struct TInterval
{
	ElementType Min = 0;
	ElementType Max = 0;

	TInterval() = default;
	TInterval(ElementType InMin, ElementType InMax)
		: Min(InMin)
		, Max(InMax)
	{
	}
	bool IsValid() const { return Min <= Max; }
	ElementType Size() const { return Max - Min; }
	bool Contains(const ElementType& Element) const { return IsValid() && Element >= Min && Element <= Max; }
};

typedef TInterval<float> FFloatInterval;
typedef TInterval<int32> FInt32Interval;
