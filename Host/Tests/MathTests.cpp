// The math types where the engine's conventions are easy to get backwards: composition order, inverses,
// rotator/quaternion conversion, and text forms.
#include "CoreMinimal.h"
#include <gtest/gtest.h>

namespace
{
std::string Narrow(const FString& Text)
{
	return std::string(FTCHARToUTF8(*Text).Get());
}
} // namespace

TEST(MathTransform, ComposesLeftFirstAndInvertsWithScale)
{
	// A moves 10 along X, B turns 90 degrees about Z: A * B moves first, then turns the result.
	const FTransform A(FVector(10, 0, 0));
	const FTransform B(FRotator(0, 90, 0));
	EXPECT_TRUE((A * B).GetTranslation().Equals(FVector(0, 10, 0), 1e-9));
	EXPECT_TRUE((B * A).GetTranslation().Equals(FVector(10, 0, 0), 1e-9));

	const FTransform Scaled(FRotator(30, 45, 10), FVector(1, 2, 3), FVector(100, 100, 100));
	EXPECT_TRUE((Scaled * Scaled.Inverse()).Equals(FTransform::Identity, 1e-9));
	const FVector Point(0.3, -0.2, 0.95);
	EXPECT_TRUE(Scaled.InverseTransformPosition(Scaled.TransformPosition(Point)).Equals(Point, 1e-9));
	// Relative transform of a child: Global * ParentGlobal.Inverse(), so Local * Parent gives Global back.
	const FTransform Child(FRotator(0, 10, 0), FVector(5, 0, 95), FVector(100, 100, 100));
	const FTransform Local = Child.GetRelativeTransform(Scaled);
	EXPECT_TRUE((Local * Scaled).Equals(Child, 1e-6));
}

TEST(MathRotation, RotatorAndQuaternionAgreeWithTheEngine)
{
	// Yaw turns X towards Y, pitch raises X towards Z, roll turns Y away from Z (clockwise, looking along X).
	EXPECT_TRUE(FRotator(0, 90, 0).RotateVector(FVector(1, 0, 0)).Equals(FVector(0, 1, 0), 1e-9));
	EXPECT_TRUE(FRotator(90, 0, 0).RotateVector(FVector(1, 0, 0)).Equals(FVector(0, 0, 1), 1e-9));
	EXPECT_TRUE(FRotator(0, 0, 90).RotateVector(FVector(0, 1, 0)).Equals(FVector(0, 0, -1), 1e-9));
	for (const FRotator& R : {FRotator(10, 20, 30), FRotator(-45, 170, -90), FRotator(89, -120, 5)})
	{
		EXPECT_TRUE(R.Quaternion().Rotator().Equals(R, 1e-6)) << Narrow(R.ToString());
	}
	const FQuat Q = FQuat(FVector(0, 0, 1), UE_DOUBLE_PI / 2);
	EXPECT_TRUE((Q * Q.Inverse()).IsIdentity(1e-12));
	// Q1 * Q2 applies Q2 first.
	const FQuat Yaw(FVector(0, 0, 1), UE_DOUBLE_PI / 2);
	const FQuat Roll(FVector(1, 0, 0), UE_DOUBLE_PI / 2);
	EXPECT_TRUE((Yaw * Roll).RotateVector(FVector(0, 1, 0)).Equals(Yaw.RotateVector(Roll.RotateVector(FVector(0, 1, 0))), 1e-12));
	EXPECT_TRUE(FQuat::Slerp(FQuat::Identity, Yaw, 0.5).Equals(FQuat(FVector(0, 0, 1), UE_DOUBLE_PI / 4), 1e-9));
}

TEST(MathText, VectorAndBoundsReadAsTheEngineWritesThem)
{
	EXPECT_EQ(Narrow(FVector(0, -1.5, 98.25).ToString()), "X=0.000 Y=-1.500 Z=98.250");
	const FBox Box(FVector(-25, -19, 0), FVector(25, 11, 170));
	const FBoxSphereBounds Bounds(Box);
	EXPECT_TRUE(Bounds.Origin.Equals(FVector(0, -4, 85)));
	EXPECT_TRUE(Bounds.BoxExtent.Equals(FVector(25, 15, 85)));
	EXPECT_NEAR(Bounds.SphereRadius, Bounds.BoxExtent.Size(), 1e-12);
	EXPECT_TRUE(Bounds.GetBox().Min.Equals(Box.Min) && Bounds.GetBox().Max.Equals(Box.Max));
	FBox Grown(ForceInit);
	EXPECT_FALSE(Grown.IsValid);
	Grown += FVector(1, 2, 3);
	Grown += FVector(-1, 5, 0);
	EXPECT_TRUE(Grown.GetSize().Equals(FVector(2, 3, 3)));
}
