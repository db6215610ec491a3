// Stands in for the engine's Types/SlateStructs.h: a size that may be left unset (SBox overrides).
#pragma once

#include "CoreTypes.h"

struct FOptionalSize
{
	FOptionalSize() = default;
	/** A set size. */
	FOptionalSize(const float SpecifiedSize)
		: Size(SpecifiedSize)
		, bIsSet(true)
	{
	}

	bool IsSet() const { return bIsSet; }
	/** The size, 0 when unset. */
	float Get() const { return bIsSet ? Size : 0.0f; }
	bool operator==(const FOptionalSize& Other) const { return bIsSet == Other.bIsSet && Get() == Other.Get(); }
	bool operator!=(const FOptionalSize& Other) const { return !(*this == Other); }

private:
	float Size = 0.0f;
	bool bIsSet = false;
};
