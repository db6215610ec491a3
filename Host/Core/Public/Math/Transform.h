// Stands in for the engine's Math/Transform.h: rotation, translation and 3D scale, composed as the engine does
// (A * B applies A first, then B).
#pragma once

#include "Math/Quat.h"
#include "Math/Rotator.h"
#include "Math/Vector.h"

struct FTransform
{
	static const FTransform Identity;

	FTransform() = default;
	explicit FTransform(const FVector& InTranslation)
		: Translation(InTranslation)
	{
	}
	explicit FTransform(const FQuat& InRotation)
		: Rotation(InRotation)
	{
	}
	explicit FTransform(const FRotator& InRotation)
		: Rotation(InRotation.Quaternion())
	{
	}
	FTransform(const FQuat& InRotation, const FVector& InTranslation, const FVector& InScale3D = FVector::OneVector)
		: Rotation(InRotation)
		, Translation(InTranslation)
		, Scale3D(InScale3D)
	{
	}
	FTransform(const FRotator& InRotation, const FVector& InTranslation, const FVector& InScale3D = FVector::OneVector)
		: Rotation(InRotation.Quaternion())
		, Translation(InTranslation)
		, Scale3D(InScale3D)
	{
	}

	/** This transform first, then Other. */
	FTransform operator*(const FTransform& Other) const;
	FTransform& operator*=(const FTransform& Other)
	{
		*this = *this * Other;
		return *this;
	}
	FTransform Inverse() const;
	/** This transform relative to Other: this * Other.Inverse(). */
	FTransform GetRelativeTransform(const FTransform& Other) const;

	FVector TransformPosition(const FVector& V) const { return Rotation.RotateVector(Scale3D * V) + Translation; }
	FVector TransformVector(const FVector& V) const { return Rotation.RotateVector(Scale3D * V); }
	FVector TransformVectorNoScale(const FVector& V) const { return Rotation.RotateVector(V); }
	FVector InverseTransformPosition(const FVector& V) const;
	FQuat TransformRotation(const FQuat& Q) const { return Rotation * Q; }

	const FVector& GetTranslation() const { return Translation; }
	FVector GetLocation() const { return Translation; }
	const FQuat& GetRotation() const { return Rotation; }
	const FVector& GetScale3D() const { return Scale3D; }
	FRotator Rotator() const { return Rotation.Rotator(); }
	void SetTranslation(const FVector& V) { Translation = V; }
	void SetLocation(const FVector& V) { Translation = V; }
	void SetRotation(const FQuat& Q) { Rotation = Q; }
	void SetScale3D(const FVector& S) { Scale3D = S; }
	void SetIdentity() { *this = FTransform(); }
	void NormalizeRotation() { Rotation.Normalize(); }
	bool Equals(const FTransform& Other, double Tolerance = UE_KINDA_SMALL_NUMBER) const;
	/** "tx,ty,tz|pitch,yaw,roll|sx,sy,sz", the engine's format. */
	FString ToString() const;

private:
	FQuat Rotation = FQuat::Identity;
	FVector Translation = FVector::ZeroVector;
	FVector Scale3D = FVector::OneVector;
};
