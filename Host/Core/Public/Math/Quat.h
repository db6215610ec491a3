// Stands in for the engine's Math/Quat.h: FQuat with the engine's product order (A * B applies B first, then A).
#pragma once

#include "Math/Vector.h"

struct FRotator;

struct FQuat
{
	double X = 0.0;
	double Y = 0.0;
	double Z = 0.0;
	double W = 1.0;

	static const FQuat Identity;

	FQuat() = default;
	constexpr FQuat(double InX, double InY, double InZ, double InW)
		: X(InX)
		, Y(InY)
		, Z(InZ)
		, W(InW)
	{
	}
	explicit FQuat(EForceInit)
	{
	}
	/** Rotation of AngleRad radians about the unit vector Axis. */
	FQuat(const FVector& Axis, double AngleRad);
	explicit FQuat(const FRotator& R);

	FQuat operator*(const FQuat& Q) const
	{
		return FQuat(W * Q.X + X * Q.W + Y * Q.Z - Z * Q.Y, W * Q.Y - X * Q.Z + Y * Q.W + Z * Q.X,
			W * Q.Z + X * Q.Y - Y * Q.X + Z * Q.W, W * Q.W - X * Q.X - Y * Q.Y - Z * Q.Z);
	}
	FQuat& operator*=(const FQuat& Q)
	{
		*this = *this * Q;
		return *this;
	}
	FQuat operator*(double Scale) const { return FQuat(X * Scale, Y * Scale, Z * Scale, W * Scale); }
	FQuat operator+(const FQuat& Q) const { return FQuat(X + Q.X, Y + Q.Y, Z + Q.Z, W + Q.W); }
	FQuat operator-(const FQuat& Q) const { return FQuat(X - Q.X, Y - Q.Y, Z - Q.Z, W - Q.W); }
	bool operator==(const FQuat& Q) const { return X == Q.X && Y == Q.Y && Z == Q.Z && W == Q.W; }
	bool operator!=(const FQuat& Q) const { return !(*this == Q); }
	/** Same rotation within Tolerance, whichever of the two signs either quaternion carries. */
	bool Equals(const FQuat& Q, double Tolerance = UE_KINDA_SMALL_NUMBER) const;

	FVector RotateVector(const FVector& V) const
	{
		const FVector Q(X, Y, Z);
		const FVector T = (Q ^ V) * 2.0;
		return V + (T * W) + (Q ^ T);
	}
	FVector UnrotateVector(const FVector& V) const { return Inverse().RotateVector(V); }
	FQuat Inverse() const { return FQuat(-X, -Y, -Z, W); }
	double Size() const { return FMath::Sqrt(X * X + Y * Y + Z * Z + W * W); }
	double SizeSquared() const { return X * X + Y * Y + Z * Z + W * W; }
	bool IsNormalized() const { return FMath::Abs(1.0 - SizeSquared()) < 0.01; }
	bool IsIdentity(double Tolerance = UE_SMALL_NUMBER) const { return Equals(Identity, Tolerance); }
	void Normalize(double Tolerance = UE_SMALL_NUMBER);
	FQuat GetNormalized(double Tolerance = UE_SMALL_NUMBER) const
	{
		FQuat Result(*this);
		Result.Normalize(Tolerance);
		return Result;
	}
	double GetAngle() const { return 2.0 * FMath::Acos(W); }
	FVector GetAxisX() const { return RotateVector(FVector(1.0, 0.0, 0.0)); }
	FVector GetAxisY() const { return RotateVector(FVector(0.0, 1.0, 0.0)); }
	FVector GetAxisZ() const { return RotateVector(FVector(0.0, 0.0, 1.0)); }
	FRotator Rotator() const;
	FVector Euler() const;
	static FQuat MakeFromEuler(const FVector& Euler);
	/** Spherical interpolation along the shorter arc, normalised. */
	static FQuat Slerp(const FQuat& Quat1, const FQuat& Quat2, double Slerp);
	static double ErrorAutoNormalize(const FQuat& A, const FQuat& B);
	FString ToString() const;
};

/** The engine's single-precision quaternion, used for stored animation keys. */
struct FQuat4f
{
	float X = 0.0f;
	float Y = 0.0f;
	float Z = 0.0f;
	float W = 1.0f;

	FQuat4f() = default;
	constexpr FQuat4f(float InX, float InY, float InZ, float InW)
		: X(InX)
		, Y(InY)
		, Z(InZ)
		, W(InW)
	{
	}
	explicit FQuat4f(const FQuat& Q)
		: X((float)Q.X)
		, Y((float)Q.Y)
		, Z((float)Q.Z)
		, W((float)Q.W)
	{
	}
	explicit operator FQuat() const { return FQuat(X, Y, Z, W); }
	bool operator==(const FQuat4f& Q) const { return X == Q.X && Y == Q.Y && Z == Q.Z && W == Q.W; }
};
