// Stands in for the engine's Math/Vector.h: FVector in double precision, as UE5 has it.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Math/UnrealMathUtility.h"

struct FVector
{
	double X = 0.0;
	double Y = 0.0;
	double Z = 0.0;

	static const FVector ZeroVector;
	static const FVector OneVector;
	static const FVector UpVector;
	static const FVector ForwardVector;
	static const FVector RightVector;

	/** The engine leaves a default-constructed vector uninitialised; the stand-in zeroes it so faults are repeatable. */
	FVector() = default;
	constexpr FVector(double InX, double InY, double InZ)
		: X(InX)
		, Y(InY)
		, Z(InZ)
	{
	}
	explicit constexpr FVector(double InF)
		: X(InF)
		, Y(InF)
		, Z(InF)
	{
	}
	explicit FVector(EForceInit)
	{
	}

	FVector operator+(const FVector& V) const { return FVector(X + V.X, Y + V.Y, Z + V.Z); }
	FVector operator-(const FVector& V) const { return FVector(X - V.X, Y - V.Y, Z - V.Z); }
	FVector operator*(const FVector& V) const { return FVector(X * V.X, Y * V.Y, Z * V.Z); }
	FVector operator/(const FVector& V) const { return FVector(X / V.X, Y / V.Y, Z / V.Z); }
	FVector operator*(double Scale) const { return FVector(X * Scale, Y * Scale, Z * Scale); }
	FVector operator/(double Scale) const { return FVector(X / Scale, Y / Scale, Z / Scale); }
	FVector operator-() const { return FVector(-X, -Y, -Z); }
	FVector& operator+=(const FVector& V)
	{
		X += V.X;
		Y += V.Y;
		Z += V.Z;
		return *this;
	}
	FVector& operator-=(const FVector& V)
	{
		X -= V.X;
		Y -= V.Y;
		Z -= V.Z;
		return *this;
	}
	FVector& operator*=(double Scale)
	{
		X *= Scale;
		Y *= Scale;
		Z *= Scale;
		return *this;
	}
	FVector& operator/=(double Scale)
	{
		X /= Scale;
		Y /= Scale;
		Z /= Scale;
		return *this;
	}
	/** Dot product, as the engine spells it. */
	double operator|(const FVector& V) const { return X * V.X + Y * V.Y + Z * V.Z; }
	/** Cross product, as the engine spells it. */
	FVector operator^(const FVector& V) const
	{
		return FVector(Y * V.Z - Z * V.Y, Z * V.X - X * V.Z, X * V.Y - Y * V.X);
	}
	bool operator==(const FVector& V) const { return X == V.X && Y == V.Y && Z == V.Z; }
	bool operator!=(const FVector& V) const { return !(*this == V); }
	double& operator[](int32 Index)
	{
		check(Index >= 0 && Index < 3);
		return Index == 0 ? X : (Index == 1 ? Y : Z);
	}
	double operator[](int32 Index) const
	{
		check(Index >= 0 && Index < 3);
		return Index == 0 ? X : (Index == 1 ? Y : Z);
	}

	static double DotProduct(const FVector& A, const FVector& B) { return A | B; }
	static FVector CrossProduct(const FVector& A, const FVector& B) { return A ^ B; }
	static double Dist(const FVector& A, const FVector& B) { return (A - B).Size(); }
	static double Distance(const FVector& A, const FVector& B) { return Dist(A, B); }

	bool Equals(const FVector& V, double Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(X - V.X) <= Tolerance && FMath::Abs(Y - V.Y) <= Tolerance && FMath::Abs(Z - V.Z) <= Tolerance;
	}
	bool IsNearlyZero(double Tolerance = UE_KINDA_SMALL_NUMBER) const
	{
		return FMath::Abs(X) <= Tolerance && FMath::Abs(Y) <= Tolerance && FMath::Abs(Z) <= Tolerance;
	}
	bool IsZero() const { return X == 0.0 && Y == 0.0 && Z == 0.0; }
	double Size() const { return FMath::Sqrt(X * X + Y * Y + Z * Z); }
	double Length() const { return Size(); }
	double SizeSquared() const { return X * X + Y * Y + Z * Z; }
	double GetMax() const { return FMath::Max3(X, Y, Z); }
	double GetMin() const { return FMath::Min3(X, Y, Z); }
	double GetAbsMax() const { return FMath::Max3(FMath::Abs(X), FMath::Abs(Y), FMath::Abs(Z)); }
	FVector GetAbs() const { return FVector(FMath::Abs(X), FMath::Abs(Y), FMath::Abs(Z)); }
	FVector ComponentMin(const FVector& V) const { return FVector(FMath::Min(X, V.X), FMath::Min(Y, V.Y), FMath::Min(Z, V.Z)); }
	FVector ComponentMax(const FVector& V) const { return FVector(FMath::Max(X, V.X), FMath::Max(Y, V.Y), FMath::Max(Z, V.Z)); }
	FVector GetSafeNormal(double Tolerance = UE_SMALL_NUMBER) const
	{
		const double SquareSum = SizeSquared();
		if (SquareSum <= Tolerance)
		{
			return ZeroVector;
		}
		return *this / FMath::Sqrt(SquareSum);
	}
	bool Normalize(double Tolerance = UE_SMALL_NUMBER)
	{
		const double SquareSum = SizeSquared();
		if (SquareSum <= Tolerance)
		{
			return false;
		}
		*this /= FMath::Sqrt(SquareSum);
		return true;
	}
	void Set(double InX, double InY, double InZ)
	{
		X = InX;
		Y = InY;
		Z = InZ;
	}

	/** "X=%3.3f Y=%3.3f Z=%3.3f", the engine's format. */
	FString ToString() const;
};

inline FVector operator*(double Scale, const FVector& V)
{
	return V * Scale;
}

/** The engine's single-precision vector, used for stored animation keys. */
struct FVector3f
{
	float X = 0.0f;
	float Y = 0.0f;
	float Z = 0.0f;

	FVector3f() = default;
	constexpr FVector3f(float InX, float InY, float InZ)
		: X(InX)
		, Y(InY)
		, Z(InZ)
	{
	}
	explicit FVector3f(const FVector& V)
		: X((float)V.X)
		, Y((float)V.Y)
		, Z((float)V.Z)
	{
	}
	explicit operator FVector() const { return FVector(X, Y, Z); }
	bool operator==(const FVector3f& V) const { return X == V.X && Y == V.Y && Z == V.Z; }
};
