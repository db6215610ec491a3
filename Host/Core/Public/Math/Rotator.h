// Stands in for the engine's Math/Rotator.h: FRotator in degrees (pitch about Y, yaw about Z, roll about X).
#pragma once

#include "Math/Quat.h"
#include "Math/Vector.h"

struct FRotator
{
	double Pitch = 0.0;
	double Yaw = 0.0;
	double Roll = 0.0;

	static const FRotator ZeroRotator;

	FRotator() = default;
	constexpr FRotator(double InPitch, double InYaw, double InRoll)
		: Pitch(InPitch)
		, Yaw(InYaw)
		, Roll(InRoll)
	{
	}
	explicit constexpr FRotator(double InF)
		: Pitch(InF)
		, Yaw(InF)
		, Roll(InF)
	{
	}
	explicit FRotator(EForceInit)
	{
	}
	explicit FRotator(const FQuat& Quat);

	FRotator operator+(const FRotator& R) const { return FRotator(Pitch + R.Pitch, Yaw + R.Yaw, Roll + R.Roll); }
	FRotator operator-(const FRotator& R) const { return FRotator(Pitch - R.Pitch, Yaw - R.Yaw, Roll - R.Roll); }
	bool operator==(const FRotator& R) const { return Pitch == R.Pitch && Yaw == R.Yaw && Roll == R.Roll; }
	bool operator!=(const FRotator& R) const { return !(*this == R); }
	bool IsZero() const { return Pitch == 0.0 && Yaw == 0.0 && Roll == 0.0; }
	bool IsNearlyZero(double Tolerance = UE_KINDA_SMALL_NUMBER) const;
	bool Equals(const FRotator& R, double Tolerance = UE_KINDA_SMALL_NUMBER) const;
	FQuat Quaternion() const;
	FVector Vector() const;
	FVector RotateVector(const FVector& V) const { return Quaternion().RotateVector(V); }
	FVector Euler() const { return FVector(Roll, Pitch, Yaw); }
	static FRotator MakeFromEuler(const FVector& Euler) { return FRotator(Euler.Y, Euler.Z, Euler.X); }
	/** Into (-180, 180]. */
	static double NormalizeAxis(double Angle);
	static double ClampAxis(double Angle);
	FRotator GetNormalized() const { return FRotator(NormalizeAxis(Pitch), NormalizeAxis(Yaw), NormalizeAxis(Roll)); }
	/** "P=%f Y=%f R=%f", the engine's format. */
	FString ToString() const;
};
