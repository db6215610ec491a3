// Stand-in for the engine's Containers/StringFormatArg.h: the values FString::Format fills into {0} or {Name}.
#pragma once

#include "CoreTypes.h"

class FString;

struct FStringFormatArg
{
	enum EType
	{
		Int,
		UInt,
		Double,
		String,
		StringLiteral
	};
	EType Type;
	int64 IntValue = 0;
	uint64 UIntValue = 0;
	double DoubleValue = 0.0;
	const FString* StringValuePtr = nullptr;
	const TCHAR* StringLiteralValue = nullptr;

	FStringFormatArg(int32 Value);
	FStringFormatArg(uint32 Value);
	FStringFormatArg(int64 Value);
	FStringFormatArg(uint64 Value);
	FStringFormatArg(float Value);
	FStringFormatArg(double Value);
	FStringFormatArg(const FString& Value);
	FStringFormatArg(FString&& Value);
	FStringFormatArg(const TCHAR* Value);
	FStringFormatArg(const FStringFormatArg& Other);
	FStringFormatArg& operator=(const FStringFormatArg& Other);
	~FStringFormatArg();
};
