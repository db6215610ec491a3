// Stand-in for the engine's Misc/Guid.h: 128-bit globally unique identifiers and their text forms.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

/** Text forms of a GUID; A, B, C and D are the four 32-bit parts. */
enum class EGuidFormats
{
	/** 00000000000000000000000000000000 */
	Digits,
	/** 00000000000000000000000000000000, lower case */
	DigitsLower,
	/** 00000000-0000-0000-0000-000000000000 */
	DigitsWithHyphens,
	/** 00000000-0000-0000-0000-000000000000, lower case */
	DigitsWithHyphensLower,
	/** {00000000-0000-0000-0000-000000000000} */
	DigitsWithHyphensInBraces,
	/** (00000000-0000-0000-0000-000000000000) */
	DigitsWithHyphensInParentheses,
	/** {0x00000000,0x0000,0x0000,{0x00,0x00,0x00,0x00,0x00,0x00,0x00,0x00}} */
	HexValuesInBraces,
	/** 00000000-00000000-00000000-00000000 */
	UniqueObjectGuid,
};

struct FGuid
{
	/** The invalid (all zero) GUID. */
	FGuid() = default;
	FGuid(uint32 InA, uint32 InB, uint32 InC, uint32 InD)
		: A(InA)
		, B(InB)
		, C(InC)
		, D(InD)
	{
	}
	/** Parses any of the forms Parse accepts; an unreadable text gives the invalid GUID. */
	explicit FGuid(const FString& InGuidStr);

	/** A new random GUID from the kernel's random source; never the invalid one. */
	static FGuid NewGuid();
	/** Reads Digits, DigitsWithHyphens (also in braces or parentheses), UniqueObjectGuid or HexValuesInBraces. */
	static bool Parse(const FString& GuidString, FGuid& OutGuid);
	/** Reads exactly the given form (hexadecimal digits in either case). */
	static bool ParseExact(const FString& GuidString, EGuidFormats Format, FGuid& OutGuid);

	/** Appends the text form to Out, which is not cleared. */
	void AppendString(FString& Out, EGuidFormats Format = EGuidFormats::Digits) const;
	FString ToString(EGuidFormats Format = EGuidFormats::Digits) const;

	bool IsValid() const { return (A | B | C | D) != 0; }
	void Invalidate() { A = B = C = D = 0; }

	uint32& operator[](int32 Index);
	const uint32& operator[](int32 Index) const;

	friend bool operator==(const FGuid& X, const FGuid& Y)
	{
		return ((X.A ^ Y.A) | (X.B ^ Y.B) | (X.C ^ Y.C) | (X.D ^ Y.D)) == 0;
	}
	friend bool operator!=(const FGuid& X, const FGuid& Y) { return !(X == Y); }
	friend bool operator<(const FGuid& X, const FGuid& Y)
	{
		return X.A != Y.A ? X.A < Y.A : X.B != Y.B ? X.B < Y.B : X.C != Y.C ? X.C < Y.C : X.D < Y.D;
	}
	friend uint32 GetTypeHash(const FGuid& Guid)
	{
		return HashCombine(HashCombine(Guid.A, Guid.B), HashCombine(Guid.C, Guid.D));
	}

	uint32 A = 0;
	uint32 B = 0;
	uint32 C = 0;
	uint32 D = 0;
};

inline FString LexToString(const FGuid& Value)
{
	return Value.ToString();
}
