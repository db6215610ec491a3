// Stands in for the engine's Containers/EnumAsByte.h: an old-style enum kept in one byte.
#pragma once

#include "CoreTypes.h"

template <class TEnum>
class TEnumAsByte
{
public:
	typedef TEnum EnumType;

	TEnumAsByte() = default;
	TEnumAsByte(TEnum InValue)
		: Value((uint8)InValue)
	{
	}
	explicit TEnumAsByte(int32 InValue)
		: Value((uint8)InValue)
	{
	}
	TEnumAsByte& operator=(TEnum InValue)
	{
		Value = (uint8)InValue;
		return *this;
	}
	bool operator==(TEnum InValue) const { return (TEnum)Value == InValue; }
	bool operator!=(TEnum InValue) const { return (TEnum)Value != InValue; }
	bool operator==(const TEnumAsByte& Other) const { return Value == Other.Value; }
	operator TEnum() const { return (TEnum)Value; }
	TEnum GetValue() const { return (TEnum)Value; }
	uint8 GetIntValue() const { return Value; }

private:
	uint8 Value = 0;
};
