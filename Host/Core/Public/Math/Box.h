// Stands in for the engine's Math/Box.h: an axis-aligned box that starts invalid and grows by points.
#pragma once

#include "Containers/Array.h"
#include "Math/Vector.h"

struct FBox
{
	FVector Min = FVector::ZeroVector;
	FVector Max = FVector::ZeroVector;
	uint8 IsValid = 0;

	FBox() = default;
	explicit FBox(EForceInit)
	{
	}
	FBox(const FVector& InMin, const FVector& InMax)
		: Min(InMin)
		, Max(InMax)
		, IsValid(1)
	{
	}
	explicit FBox(const TArray<FVector>& Points)
	{
		for (const FVector& Point : Points)
		{
			*this += Point;
		}
	}

	FBox& operator+=(const FVector& Other)
	{
		if (IsValid)
		{
			Min = Min.ComponentMin(Other);
			Max = Max.ComponentMax(Other);
		}
		else
		{
			Min = Max = Other;
			IsValid = 1;
		}
		return *this;
	}
	FBox& operator+=(const FBox& Other)
	{
		if (Other.IsValid)
		{
			*this += Other.Min;
			*this += Other.Max;
		}
		return *this;
	}
	FBox operator+(const FVector& Other) const { return FBox(*this) += Other; }
	bool operator==(const FBox& Other) const { return Min == Other.Min && Max == Other.Max; }

	FVector GetCenter() const { return (Min + Max) * 0.5; }
	FVector GetExtent() const { return (Max - Min) * 0.5; }
	FVector GetSize() const { return Max - Min; }
	void GetCenterAndExtents(FVector& Center, FVector& Extents) const
	{
		Extents = GetExtent();
		Center = Min + Extents;
	}
	FBox ExpandBy(double W) const { return FBox(Min - FVector(W), Max + FVector(W)); }
	bool IsInside(const FVector& In) const
	{
		return In.X > Min.X && In.X < Max.X && In.Y > Min.Y && In.Y < Max.Y && In.Z > Min.Z && In.Z < Max.Z;
	}
	bool IsInsideOrOn(const FVector& In) const
	{
		return In.X >= Min.X && In.X <= Max.X && In.Y >= Min.Y && In.Y <= Max.Y && In.Z >= Min.Z && In.Z <= Max.Z;
	}
	FString ToString() const;
};
