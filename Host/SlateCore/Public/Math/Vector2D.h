// Stands in for the engine's Math/Vector2D.h: a 2D vector in double precision, as UE5 has it.
// (A Core header in the engine; the stand-in keeps it with the UI modules, its only users.)
#pragma once

#include "CoreTypes.h"

struct FVector2D
{
	double X = 0.0;
	double Y = 0.0;

	static const FVector2D ZeroVector;
	static const FVector2D UnitVector;

	FVector2D() = default;
	constexpr FVector2D(double InX, double InY)
		: X(InX)
		, Y(InY)
	{
	}

	FVector2D operator+(const FVector2D& V) const { return FVector2D(X + V.X, Y + V.Y); }
	FVector2D operator-(const FVector2D& V) const { return FVector2D(X - V.X, Y - V.Y); }
	FVector2D operator*(double Scale) const { return FVector2D(X * Scale, Y * Scale); }
	FVector2D operator/(double Scale) const { return FVector2D(X / Scale, Y / Scale); }
	FVector2D& operator+=(const FVector2D& V)
	{
		X += V.X;
		Y += V.Y;
		return *this;
	}
	bool operator==(const FVector2D& V) const { return X == V.X && Y == V.Y; }
	bool operator!=(const FVector2D& V) const { return !(*this == V); }
	double GetMax() const { return X > Y ? X : Y; }
	double GetMin() const { return X < Y ? X : Y; }
	/** Component by index: 0 is X, 1 is Y. */
	double& operator[](int32 Index) { return Index == 0 ? X : Y; }
	double operator[](int32 Index) const { return Index == 0 ? X : Y; }
};

inline const FVector2D FVector2D::ZeroVector(0.0, 0.0);
inline const FVector2D FVector2D::UnitVector(1.0, 1.0);
