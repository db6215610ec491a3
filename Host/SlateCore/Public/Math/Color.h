// Stands in for the engine's Math/Color.h: linear (float) and 8-bit colours.
// (A Core header in the engine; the stand-in keeps it with the UI modules, its only users.)
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

struct FColor;

struct FLinearColor
{
	float R = 0.0f;
	float G = 0.0f;
	float B = 0.0f;
	float A = 0.0f;

	FLinearColor() = default;
	constexpr FLinearColor(float InR, float InG, float InB, float InA = 1.0f)
		: R(InR)
		, G(InG)
		, B(InB)
		, A(InA)
	{
	}
	/** From an sRGB-encoded 8-bit colour, as the engine converts it. */
	FLinearColor(const FColor& Color);

	static const FLinearColor White;
	static const FLinearColor Gray;
	static const FLinearColor Black;
	static const FLinearColor Transparent;
	static const FLinearColor Red;
	static const FLinearColor Green;
	static const FLinearColor Blue;
	static const FLinearColor Yellow;

	FLinearColor operator*(float Scalar) const { return FLinearColor(R * Scalar, G * Scalar, B * Scalar, A * Scalar); }
	FLinearColor operator*(const FLinearColor& Other) const
	{
		return FLinearColor(R * Other.R, G * Other.G, B * Other.B, A * Other.A);
	}
	FLinearColor operator+(const FLinearColor& Other) const
	{
		return FLinearColor(R + Other.R, G + Other.G, B + Other.B, A + Other.A);
	}
	bool operator==(const FLinearColor& Other) const
	{
		return R == Other.R && G == Other.G && B == Other.B && A == Other.A;
	}
	bool operator!=(const FLinearColor& Other) const { return !(*this == Other); }

	FLinearColor CopyWithNewOpacity(float NewOpacity) const { return FLinearColor(R, G, B, NewOpacity); }
	/** To 8 bits per channel, sRGB-encoded when bSRGB. */
	FColor ToFColor(const bool bSRGB) const;
	/** "(R=1.000000,G=0.000000,B=0.000000,A=1.000000)", the engine's text form. */
	FString ToString() const;
};

struct FColor
{
	uint8 B = 0;
	uint8 G = 0;
	uint8 R = 0;
	uint8 A = 0;

	FColor() = default;
	constexpr FColor(uint8 InR, uint8 InG, uint8 InB, uint8 InA = 255)
		: B(InB)
		, G(InG)
		, R(InR)
		, A(InA)
	{
	}

	static const FColor White;
	static const FColor Black;
	static const FColor Transparent;
	static const FColor Red;
	static const FColor Green;
	static const FColor Blue;

	bool operator==(const FColor& Other) const { return R == Other.R && G == Other.G && B == Other.B && A == Other.A; }
	bool operator!=(const FColor& Other) const { return !(*this == Other); }
	FLinearColor ReinterpretAsLinear() const { return FLinearColor(R / 255.0f, G / 255.0f, B / 255.0f, A / 255.0f); }
};

inline const FLinearColor FLinearColor::White(1.0f, 1.0f, 1.0f, 1.0f);
inline const FLinearColor FLinearColor::Gray(0.5f, 0.5f, 0.5f, 1.0f);
inline const FLinearColor FLinearColor::Black(0.0f, 0.0f, 0.0f, 1.0f);
inline const FLinearColor FLinearColor::Transparent(0.0f, 0.0f, 0.0f, 0.0f);
inline const FLinearColor FLinearColor::Red(1.0f, 0.0f, 0.0f, 1.0f);
inline const FLinearColor FLinearColor::Green(0.0f, 1.0f, 0.0f, 1.0f);
inline const FLinearColor FLinearColor::Blue(0.0f, 0.0f, 1.0f, 1.0f);
inline const FLinearColor FLinearColor::Yellow(1.0f, 1.0f, 0.0f, 1.0f);
inline const FColor FColor::White(255, 255, 255, 255);
inline const FColor FColor::Black(0, 0, 0, 255);
inline const FColor FColor::Transparent(0, 0, 0, 0);
inline const FColor FColor::Red(255, 0, 0, 255);
inline const FColor FColor::Green(0, 255, 0, 255);
inline const FColor FColor::Blue(0, 0, 255, 255);
