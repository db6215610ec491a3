// Colours and visibility: conversions and text forms.
#include "Layout/Visibility.h"
#include "Math/Color.h"
#include <cmath>

namespace
{
float SRGBToLinear(uint8 Channel)
{
	const float Value = Channel / 255.0f;
	return Value <= 0.04045f ? Value / 12.92f : std::pow((Value + 0.055f) / 1.055f, 2.4f);
}

uint8 LinearToSRGB(float Value)
{
	Value = Value < 0.0f ? 0.0f : (Value > 1.0f ? 1.0f : Value);
	const float Encoded = Value <= 0.0031308f ? Value * 12.92f : 1.055f * std::pow(Value, 1.0f / 2.4f) - 0.055f;
	return (uint8)std::lround(Encoded * 255.0f);
}

uint8 ToByte(float Value)
{
	Value = Value < 0.0f ? 0.0f : (Value > 1.0f ? 1.0f : Value);
	return (uint8)std::lround(Value * 255.0f);
}
} // namespace

FLinearColor::FLinearColor(const FColor& Color)
	: R(SRGBToLinear(Color.R))
	, G(SRGBToLinear(Color.G))
	, B(SRGBToLinear(Color.B))
	, A(Color.A / 255.0f)
{
}

FColor FLinearColor::ToFColor(const bool bSRGB) const
{
	if (bSRGB)
	{
		return FColor(LinearToSRGB(R), LinearToSRGB(G), LinearToSRGB(B), ToByte(A));
	}
	return FColor(ToByte(R), ToByte(G), ToByte(B), ToByte(A));
}

FString FLinearColor::ToString() const
{
	return FString::Printf(TEXT("(R=%f,G=%f,B=%f,A=%f)"), R, G, B, A);
}

FString EVisibility::ToString() const
{
	if (*this == Visible)
	{
		return TEXT("Visible");
	}
	if (*this == Collapsed)
	{
		return TEXT("Collapsed");
	}
	if (*this == Hidden)
	{
		return TEXT("Hidden");
	}
	if (*this == HitTestInvisible)
	{
		return TEXT("HitTestInvisible");
	}
	if (*this == SelfHitTestInvisible)
	{
		return TEXT("SelfHitTestInvisible");
	}
	return TEXT("All");
}
