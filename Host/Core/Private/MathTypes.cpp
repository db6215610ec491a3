// The math types' statics, rotation conversions and text forms, following the engine's formulas so that
// rotators, quaternions and composed transforms come out with the engine's numbers.
#include "Math/HostMath.h"

const FVector FVector::ZeroVector(0.0, 0.0, 0.0);
const FVector FVector::OneVector(1.0, 1.0, 1.0);
const FVector FVector::UpVector(0.0, 0.0, 1.0);
const FVector FVector::ForwardVector(1.0, 0.0, 0.0);
const FVector FVector::RightVector(0.0, 1.0, 0.0);
const FQuat FQuat::Identity(0.0, 0.0, 0.0, 1.0);
const FRotator FRotator::ZeroRotator(0.0, 0.0, 0.0);
const FTransform FTransform::Identity;

FString FVector::ToString() const
{
	return FString::Printf(TEXT("X=%3.3f Y=%3.3f Z=%3.3f"), X, Y, Z);
}

FQuat::FQuat(const FVector& Axis, double AngleRad)
{
	const double HalfAngle = 0.5 * AngleRad;
	double S = 0.0;
	double C = 1.0;
	FMath::SinCos(&S, &C, HalfAngle);
	X = S * Axis.X;
	Y = S * Axis.Y;
	Z = S * Axis.Z;
	W = C;
}

FQuat::FQuat(const FRotator& R)
{
	*this = R.Quaternion();
}

bool FQuat::Equals(const FQuat& Q, double Tolerance) const
{
	const bool bSame = FMath::Abs(X - Q.X) <= Tolerance && FMath::Abs(Y - Q.Y) <= Tolerance &&
		FMath::Abs(Z - Q.Z) <= Tolerance && FMath::Abs(W - Q.W) <= Tolerance;
	const bool bNegated = FMath::Abs(X + Q.X) <= Tolerance && FMath::Abs(Y + Q.Y) <= Tolerance &&
		FMath::Abs(Z + Q.Z) <= Tolerance && FMath::Abs(W + Q.W) <= Tolerance;
	return bSame || bNegated;
}

void FQuat::Normalize(double Tolerance)
{
	const double SquareSum = SizeSquared();
	if (SquareSum >= Tolerance)
	{
		const double Scale = FMath::InvSqrt(SquareSum);
		X *= Scale;
		Y *= Scale;
		Z *= Scale;
		W *= Scale;
	}
	else
	{
		*this = Identity;
	}
}

FRotator FQuat::Rotator() const
{
	const double SingularityTest = Z * X - W * Y;
	const double YawY = 2.0 * (W * Z + X * Y);
	const double YawX = 1.0 - 2.0 * (Y * Y + Z * Z);
	const double SingularityThreshold = 0.4999995;
	FRotator Result;
	if (SingularityTest < -SingularityThreshold)
	{
		Result.Pitch = -90.0;
		Result.Yaw = FMath::RadiansToDegrees(FMath::Atan2(YawY, YawX));
		Result.Roll = FRotator::NormalizeAxis(-Result.Yaw - 2.0 * FMath::RadiansToDegrees(FMath::Atan2(X, W)));
	}
	else if (SingularityTest > SingularityThreshold)
	{
		Result.Pitch = 90.0;
		Result.Yaw = FMath::RadiansToDegrees(FMath::Atan2(YawY, YawX));
		Result.Roll = FRotator::NormalizeAxis(Result.Yaw - 2.0 * FMath::RadiansToDegrees(FMath::Atan2(X, W)));
	}
	else
	{
		Result.Pitch = FMath::RadiansToDegrees(FMath::Asin(2.0 * SingularityTest));
		Result.Yaw = FMath::RadiansToDegrees(FMath::Atan2(YawY, YawX));
		Result.Roll = FMath::RadiansToDegrees(FMath::Atan2(-2.0 * (W * X + Y * Z), 1.0 - 2.0 * (X * X + Y * Y)));
	}
	return Result;
}

FVector FQuat::Euler() const
{
	return Rotator().Euler();
}

FQuat FQuat::MakeFromEuler(const FVector& Euler)
{
	return FRotator::MakeFromEuler(Euler).Quaternion();
}

FQuat FQuat::Slerp(const FQuat& Quat1, const FQuat& Quat2, double Alpha)
{
	const double RawCosom = Quat1.X * Quat2.X + Quat1.Y * Quat2.Y + Quat1.Z * Quat2.Z + Quat1.W * Quat2.W;
	const double Cosom = RawCosom >= 0.0 ? RawCosom : -RawCosom;
	double Scale0 = 1.0 - Alpha;
	double Scale1 = Alpha;
	if (Cosom < 0.9999)
	{
		const double Omega = FMath::Acos(Cosom);
		const double InvSin = 1.0 / FMath::Sin(Omega);
		Scale0 = FMath::Sin((1.0 - Alpha) * Omega) * InvSin;
		Scale1 = FMath::Sin(Alpha * Omega) * InvSin;
	}
	Scale1 = RawCosom >= 0.0 ? Scale1 : -Scale1;
	FQuat Result(Scale0 * Quat1.X + Scale1 * Quat2.X, Scale0 * Quat1.Y + Scale1 * Quat2.Y,
		Scale0 * Quat1.Z + Scale1 * Quat2.Z, Scale0 * Quat1.W + Scale1 * Quat2.W);
	Result.Normalize();
	return Result;
}

double FQuat::ErrorAutoNormalize(const FQuat& A, const FQuat& B)
{
	const double Dot = A.X * B.X + A.Y * B.Y + A.Z * B.Z + A.W * B.W;
	return 1.0 - FMath::Abs(Dot);
}

FString FQuat::ToString() const
{
	return FString::Printf(TEXT("X=%.9f Y=%.9f Z=%.9f W=%.9f"), X, Y, Z, W);
}

FRotator::FRotator(const FQuat& Quat)
{
	*this = Quat.Rotator();
}

bool FRotator::IsNearlyZero(double Tolerance) const
{
	return FMath::Abs(NormalizeAxis(Pitch)) <= Tolerance && FMath::Abs(NormalizeAxis(Yaw)) <= Tolerance &&
		FMath::Abs(NormalizeAxis(Roll)) <= Tolerance;
}

bool FRotator::Equals(const FRotator& R, double Tolerance) const
{
	return FMath::Abs(NormalizeAxis(Pitch - R.Pitch)) <= Tolerance &&
		FMath::Abs(NormalizeAxis(Yaw - R.Yaw)) <= Tolerance && FMath::Abs(NormalizeAxis(Roll - R.Roll)) <= Tolerance;
}

FQuat FRotator::Quaternion() const
{
	const double HalfDegToRad = UE_DOUBLE_PI / 360.0;
	double SP = 0.0, SY = 0.0, SR = 0.0;
	double CP = 1.0, CY = 1.0, CR = 1.0;
	FMath::SinCos(&SP, &CP, FMath::Fmod(Pitch, 360.0) * HalfDegToRad);
	FMath::SinCos(&SY, &CY, FMath::Fmod(Yaw, 360.0) * HalfDegToRad);
	FMath::SinCos(&SR, &CR, FMath::Fmod(Roll, 360.0) * HalfDegToRad);
	return FQuat(CR * SP * SY - SR * CP * CY, -CR * SP * CY - SR * CP * SY, CR * CP * SY - SR * SP * CY,
		CR * CP * CY + SR * SP * SY);
}

FVector FRotator::Vector() const
{
	const double CP = FMath::Cos(FMath::DegreesToRadians(Pitch));
	const double SP = FMath::Sin(FMath::DegreesToRadians(Pitch));
	const double CY = FMath::Cos(FMath::DegreesToRadians(Yaw));
	const double SY = FMath::Sin(FMath::DegreesToRadians(Yaw));
	return FVector(CP * CY, CP * SY, SP);
}

double FRotator::ClampAxis(double Angle)
{
	Angle = FMath::Fmod(Angle, 360.0);
	if (Angle < 0.0)
	{
		Angle += 360.0;
	}
	return Angle;
}

double FRotator::NormalizeAxis(double Angle)
{
	Angle = ClampAxis(Angle);
	if (Angle > 180.0)
	{
		Angle -= 360.0;
	}
	return Angle;
}

FString FRotator::ToString() const
{
	return FString::Printf(TEXT("P=%f Y=%f R=%f"), Pitch, Yaw, Roll);
}

FTransform FTransform::operator*(const FTransform& Other) const
{
	FTransform Result;
	Result.Rotation = Other.Rotation * Rotation;
	Result.Scale3D = Scale3D * Other.Scale3D;
	Result.Translation = Other.Rotation.RotateVector(Other.Scale3D * Translation) + Other.Translation;
	return Result;
}

namespace
{
double SafeReciprocal(double Value)
{
	return FMath::Abs(Value) <= UE_DOUBLE_SMALL_NUMBER ? 0.0 : 1.0 / Value;
}
} // namespace

FTransform FTransform::Inverse() const
{
	const FQuat InvRotation = Rotation.Inverse();
	const FVector InvScale(SafeReciprocal(Scale3D.X), SafeReciprocal(Scale3D.Y), SafeReciprocal(Scale3D.Z));
	const FVector InvTranslation = InvRotation.RotateVector(InvScale * -Translation);
	return FTransform(InvRotation, InvTranslation, InvScale);
}

FTransform FTransform::GetRelativeTransform(const FTransform& Other) const
{
	return *this * Other.Inverse();
}

FVector FTransform::InverseTransformPosition(const FVector& V) const
{
	const FVector InvScale(SafeReciprocal(Scale3D.X), SafeReciprocal(Scale3D.Y), SafeReciprocal(Scale3D.Z));
	return Rotation.UnrotateVector(V - Translation) * InvScale;
}

bool FTransform::Equals(const FTransform& Other, double Tolerance) const
{
	return Rotation.Equals(Other.Rotation, Tolerance) && Translation.Equals(Other.Translation, Tolerance) &&
		Scale3D.Equals(Other.Scale3D, Tolerance);
}

FString FTransform::ToString() const
{
	const FRotator R = Rotator();
	return FString::Printf(TEXT("%f,%f,%f|%f,%f,%f|%f,%f,%f"), Translation.X, Translation.Y, Translation.Z, R.Pitch,
		R.Yaw, R.Roll, Scale3D.X, Scale3D.Y, Scale3D.Z);
}

FString FBox::ToString() const
{
	return FString::Printf(TEXT("IsValid=%s, Min=(%s), Max=(%s)"), IsValid ? TEXT("true") : TEXT("false"),
		*Min.ToString(), *Max.ToString());
}

FString FBoxSphereBounds::ToString() const
{
	return FString::Printf(TEXT("Origin=%s, BoxExtent=(%s), SphereRadius=(%f)"), *Origin.ToString(),
		*BoxExtent.ToString(), SphereRadius);
}
