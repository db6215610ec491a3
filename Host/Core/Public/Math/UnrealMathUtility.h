// Stands in for the engine's Math/UnrealMathUtility.h: FMath and the usual constants.
#pragma once

#include "CoreTypes.h"
#include <cmath>

#define UE_PI (3.1415926535897932)
#define UE_DOUBLE_PI (3.141592653589793238462643383279502884197169399)
#define UE_SMALL_NUMBER (1.e-8f)
#define UE_KINDA_SMALL_NUMBER (1.e-4f)
#define UE_DOUBLE_SMALL_NUMBER (1.e-8)
#define UE_DOUBLE_KINDA_SMALL_NUMBER (1.e-4)
#ifndef PI
#define PI UE_PI
#endif
#ifndef SMALL_NUMBER
#define SMALL_NUMBER (1.e-8f)
#endif
#ifndef KINDA_SMALL_NUMBER
#define KINDA_SMALL_NUMBER (1.e-4f)
#endif

struct FMath
{
	template <typename T>
	static constexpr T Min(const T A, const T B)
	{
		return A <= B ? A : B;
	}
	template <typename T>
	static constexpr T Max(const T A, const T B)
	{
		return A >= B ? A : B;
	}
	template <typename T>
	static constexpr T Max3(const T A, const T B, const T C)
	{
		return Max(Max(A, B), C);
	}
	template <typename T>
	static constexpr T Min3(const T A, const T B, const T C)
	{
		return Min(Min(A, B), C);
	}
	template <typename T>
	static constexpr T Abs(const T A)
	{
		return A >= (T)0 ? A : -A;
	}
	template <typename T>
	static constexpr T Clamp(const T X, const T Low, const T High)
	{
		return X < Low ? Low : (X < High ? X : High);
	}
	template <typename T>
	static constexpr T Square(const T A)
	{
		return A * A;
	}
	template <typename T>
	static constexpr T Sign(const T A)
	{
		return A > (T)0 ? (T)1 : (A < (T)0 ? (T)-1 : (T)0);
	}
	template <typename T, typename U>
	static constexpr T Lerp(const T& A, const T& B, const U& Alpha)
	{
		return (T)(A + Alpha * (B - A));
	}
	static double Sqrt(double Value) { return std::sqrt(Value); }
	static float Sqrt(float Value) { return std::sqrt(Value); }
	static double InvSqrt(double Value) { return 1.0 / std::sqrt(Value); }
	static double Sin(double Value) { return std::sin(Value); }
	static double Cos(double Value) { return std::cos(Value); }
	static double Acos(double Value) { return std::acos(Clamp(Value, -1.0, 1.0)); }
	static double Asin(double Value) { return std::asin(Clamp(Value, -1.0, 1.0)); }
	static double Atan2(double Y, double X) { return std::atan2(Y, X); }
	static double Fmod(double X, double Y) { return std::fmod(X, Y); }
	static void SinCos(double* ScalarSin, double* ScalarCos, double Value)
	{
		*ScalarSin = std::sin(Value);
		*ScalarCos = std::cos(Value);
	}
	static int32 FloorToInt(double Value) { return (int32)std::floor(Value); }
	static int32 CeilToInt(double Value) { return (int32)std::ceil(Value); }
	static int32 RoundToInt(double Value) { return (int32)std::floor(Value + 0.5); }
	static int32 TruncToInt(double Value) { return (int32)Value; }
	static double RoundToDouble(double Value) { return std::floor(Value + 0.5); }
	static double FloorToDouble(double Value) { return std::floor(Value); }
	static constexpr double DegreesToRadians(double Degrees) { return Degrees * (UE_DOUBLE_PI / 180.0); }
	static constexpr double RadiansToDegrees(double Radians) { return Radians * (180.0 / UE_DOUBLE_PI); }
	static bool IsNearlyEqual(double A, double B, double ErrorTolerance = UE_DOUBLE_SMALL_NUMBER)
	{
		return Abs(A - B) <= ErrorTolerance;
	}
	static bool IsNearlyZero(double Value, double ErrorTolerance = UE_DOUBLE_SMALL_NUMBER)
	{
		return Abs(Value) <= ErrorTolerance;
	}
	static bool IsFinite(double Value) { return std::isfinite(Value); }
	static bool IsNaN(double Value) { return std::isnan(Value); }
};
