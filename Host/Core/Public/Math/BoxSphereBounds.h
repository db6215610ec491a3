// Stands in for the engine's Math/BoxSphereBounds.h: a box given by centre and half size, with a sphere around it.
#pragma once

#include "Math/Box.h"
#include "Math/Vector.h"

struct FBoxSphereBounds
{
	FVector Origin = FVector::ZeroVector;
	FVector BoxExtent = FVector::ZeroVector;
	double SphereRadius = 0.0;

	FBoxSphereBounds() = default;
	explicit FBoxSphereBounds(EForceInit)
	{
	}
	FBoxSphereBounds(const FVector& InOrigin, const FVector& InBoxExtent, double InSphereRadius)
		: Origin(InOrigin)
		, BoxExtent(InBoxExtent)
		, SphereRadius(InSphereRadius)
	{
	}
	/** Origin = the box's centre, BoxExtent = half its size, SphereRadius = |BoxExtent|. */
	explicit FBoxSphereBounds(const FBox& Box)
	{
		Box.GetCenterAndExtents(Origin, BoxExtent);
		SphereRadius = BoxExtent.Size();
	}

	FBox GetBox() const { return FBox(Origin - BoxExtent, Origin + BoxExtent); }
	FVector GetBoxExtrema(uint32 Extrema) const { return Extrema ? Origin + BoxExtent : Origin - BoxExtent; }
	bool operator==(const FBoxSphereBounds& Other) const
	{
		return Origin == Other.Origin && BoxExtent == Other.BoxExtent && SphereRadius == Other.SphereRadius;
	}
	FString ToString() const;
};
