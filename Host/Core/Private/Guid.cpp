// GUIDs: random ones straight from the kernel, so that forked processes never repeat each other's.
#include "Misc/Guid.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/random.h>
#include <unistd.h>

namespace
{
/** Fills Buffer with random bytes; the kernel's generator, /dev/urandom if that call is missing. */
void FillRandom(uint8* Buffer, SIZE_T Size)
{
	SIZE_T Done = 0;
	while (Done < Size)
	{
		const ssize_t Got = getrandom(Buffer + Done, Size - Done, 0);
		if (Got > 0)
		{
			Done += (SIZE_T)Got;
		}
		else if (Got < 0 && errno == EINTR)
		{
			continue;
		}
		else
		{
			break;
		}
	}
	if (Done == Size)
	{
		return;
	}
	const int File = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
	while (File >= 0 && Done < Size)
	{
		const ssize_t Got = read(File, Buffer + Done, Size - Done);
		if (Got <= 0 && errno != EINTR)
		{
			break;
		}
		Done += Got > 0 ? (SIZE_T)Got : 0;
	}
	if (File >= 0)
	{
		close(File);
	}
	// Last resort only: a seeded generator still gives distinct values within this process.
	static std::mt19937_64 Fallback(std::random_device{}());
	for (; Done < Size; ++Done)
	{
		Buffer[Done] = (uint8)Fallback();
	}
}

int32 HexValue(TCHAR C)
{
	if (C >= '0' && C <= '9')
	{
		return C - '0';
	}
	if (C >= 'a' && C <= 'f')
	{
		return C - 'a' + 10;
	}
	if (C >= 'A' && C <= 'F')
	{
		return C - 'A' + 10;
	}
	return -1;
}

/** Reads Count hexadecimal digits at Text[Start]; false when one is not a digit. */
bool ReadHex(const FString& Text, int32 Start, int32 Count, uint32& Out)
{
	if (Start < 0 || Start + Count > Text.Len())
	{
		return false;
	}
	uint32 Value = 0;
	for (int32 Index = Start; Index < Start + Count; ++Index)
	{
		const int32 Digit = HexValue(Text[Index]);
		if (Digit < 0)
		{
			return false;
		}
		Value = (Value << 4) | (uint32)Digit;
	}
	Out = Value;
	return true;
}

/** Checks Text against Pattern: '#' stands for a hexadecimal digit, any other character for itself. */
bool MatchesLayout(const FString& Text, const char* Pattern)
{
	int32 Index = 0;
	for (; Pattern[Index] != 0; ++Index)
	{
		if (Index >= Text.Len())
		{
			return false;
		}
		if (Pattern[Index] == '#' ? HexValue(Text[Index]) < 0 : Text[Index] != (TCHAR)Pattern[Index])
		{
			return false;
		}
	}
	return Index == Text.Len();
}

bool ParseHyphenated(const FString& Text, int32 Offset, FGuid& Out)
{
	uint32 A, B1, B2, C1, C2, D;
	if (!ReadHex(Text, Offset, 8, A) || !ReadHex(Text, Offset + 9, 4, B1) || !ReadHex(Text, Offset + 14, 4, B2) ||
		!ReadHex(Text, Offset + 19, 4, C1) || !ReadHex(Text, Offset + 24, 4, C2) || !ReadHex(Text, Offset + 28, 8, D))
	{
		return false;
	}
	Out = FGuid(A, (B1 << 16) | B2, (C1 << 16) | C2, D);
	return true;
}
} // namespace

FGuid::FGuid(const FString& InGuidStr)
{
	if (!Parse(InGuidStr, *this))
	{
		Invalidate();
	}
}

FGuid FGuid::NewGuid()
{
	FGuid Result;
	do
	{
		uint32 Parts[4];
		FillRandom((uint8*)Parts, sizeof(Parts));
		Result = FGuid(Parts[0], Parts[1], Parts[2], Parts[3]);
	} while (!Result.IsValid());
	return Result;
}

uint32& FGuid::operator[](int32 Index)
{
	check(Index >= 0 && Index < 4);
	return Index == 0 ? A : Index == 1 ? B : Index == 2 ? C : D;
}

const uint32& FGuid::operator[](int32 Index) const
{
	check(Index >= 0 && Index < 4);
	return Index == 0 ? A : Index == 1 ? B : Index == 2 ? C : D;
}

void FGuid::AppendString(FString& Out, EGuidFormats Format) const
{
	char Buffer[128];
	switch (Format)
	{
		case EGuidFormats::Digits:
		case EGuidFormats::DigitsLower:
			std::snprintf(Buffer, sizeof(Buffer),
				Format == EGuidFormats::Digits ? "%08X%08X%08X%08X" : "%08x%08x%08x%08x", A, B, C, D);
			break;
		case EGuidFormats::DigitsWithHyphens:
		case EGuidFormats::DigitsWithHyphensLower:
		case EGuidFormats::DigitsWithHyphensInBraces:
		case EGuidFormats::DigitsWithHyphensInParentheses:
		{
			const char* Open = "";
			const char* Close = "";
			if (Format == EGuidFormats::DigitsWithHyphensInBraces)
			{
				Open = "{";
				Close = "}";
			}
			else if (Format == EGuidFormats::DigitsWithHyphensInParentheses)
			{
				Open = "(";
				Close = ")";
			}
			const char* Layout = Format == EGuidFormats::DigitsWithHyphensLower ? "%s%08x-%04x-%04x-%04x-%04x%08x%s"
																				: "%s%08X-%04X-%04X-%04X-%04X%08X%s";
			std::snprintf(Buffer, sizeof(Buffer), Layout, Open, A, B >> 16, B & 0xFFFF, C >> 16, C & 0xFFFF, D, Close);
			break;
		}
		case EGuidFormats::HexValuesInBraces:
			std::snprintf(Buffer, sizeof(Buffer),
				"{0x%08X,0x%04X,0x%04X,{0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X,0x%02X}}", A, B >> 16,
				B & 0xFFFF, C >> 24, (C >> 16) & 0xFF, (C >> 8) & 0xFF, C & 0xFF, D >> 24, (D >> 16) & 0xFF,
				(D >> 8) & 0xFF, D & 0xFF);
			break;
		case EGuidFormats::UniqueObjectGuid:
			std::snprintf(Buffer, sizeof(Buffer), "%08X-%08X-%08X-%08X", A, B, C, D);
			break;
		default:
			checkNoEntry();
	}
	Out.Append(FString(Buffer));
}

FString FGuid::ToString(EGuidFormats Format) const
{
	FString Result;
	AppendString(Result, Format);
	return Result;
}

bool FGuid::ParseExact(const FString& GuidString, EGuidFormats Format, FGuid& OutGuid)
{
	uint32 Parts[11] = {};
	switch (Format)
	{
		case EGuidFormats::Digits:
		case EGuidFormats::DigitsLower:
			if (!MatchesLayout(GuidString, "################################") ||
				!ReadHex(GuidString, 0, 8, Parts[0]) || !ReadHex(GuidString, 8, 8, Parts[1]) ||
				!ReadHex(GuidString, 16, 8, Parts[2]) || !ReadHex(GuidString, 24, 8, Parts[3]))
			{
				return false;
			}
			OutGuid = FGuid(Parts[0], Parts[1], Parts[2], Parts[3]);
			return true;
		case EGuidFormats::DigitsWithHyphens:
		case EGuidFormats::DigitsWithHyphensLower:
			return MatchesLayout(GuidString, "########-####-####-####-############") &&
				   ParseHyphenated(GuidString, 0, OutGuid);
		case EGuidFormats::DigitsWithHyphensInBraces:
			return MatchesLayout(GuidString, "{########-####-####-####-############}") &&
				   ParseHyphenated(GuidString, 1, OutGuid);
		case EGuidFormats::DigitsWithHyphensInParentheses:
			return MatchesLayout(GuidString, "(########-####-####-####-############)") &&
				   ParseHyphenated(GuidString, 1, OutGuid);
		case EGuidFormats::UniqueObjectGuid:
			if (!MatchesLayout(GuidString, "########-########-########-########") ||
				!ReadHex(GuidString, 0, 8, Parts[0]) || !ReadHex(GuidString, 9, 8, Parts[1]) ||
				!ReadHex(GuidString, 18, 8, Parts[2]) || !ReadHex(GuidString, 27, 8, Parts[3]))
			{
				return false;
			}
			OutGuid = FGuid(Parts[0], Parts[1], Parts[2], Parts[3]);
			return true;
		case EGuidFormats::HexValuesInBraces:
		{
			if (!MatchesLayout(GuidString, "{0x########,0x####,0x####,{0x##,0x##,0x##,0x##,0x##,0x##,0x##,0x##}}"))
			{
				return false;
			}
			const int32 Starts[11] = {3, 14, 21, 29, 34, 39, 44, 49, 54, 59, 64};
			const int32 Counts[11] = {8, 4, 4, 2, 2, 2, 2, 2, 2, 2, 2};
			for (int32 Index = 0; Index < 11; ++Index)
			{
				if (!ReadHex(GuidString, Starts[Index], Counts[Index], Parts[Index]))
				{
					return false;
				}
			}
			OutGuid = FGuid(Parts[0], (Parts[1] << 16) | Parts[2],
				(Parts[3] << 24) | (Parts[4] << 16) | (Parts[5] << 8) | Parts[6],
				(Parts[7] << 24) | (Parts[8] << 16) | (Parts[9] << 8) | Parts[10]);
			return true;
		}
	}
	return false;
}

bool FGuid::Parse(const FString& GuidString, FGuid& OutGuid)
{
	const int32 Len = GuidString.Len();
	if (Len == 32)
	{
		return ParseExact(GuidString, EGuidFormats::Digits, OutGuid);
	}
	if (Len == 36)
	{
		return ParseExact(GuidString, EGuidFormats::DigitsWithHyphens, OutGuid);
	}
	if (Len == 38)
	{
		return ParseExact(GuidString,
			GuidString[0] == '{' ? EGuidFormats::DigitsWithHyphensInBraces
								 : EGuidFormats::DigitsWithHyphensInParentheses,
			OutGuid);
	}
	if (Len == 35)
	{
		return ParseExact(GuidString, EGuidFormats::UniqueObjectGuid, OutGuid);
	}
	if (Len == 68)
	{
		return ParseExact(GuidString, EGuidFormats::HexValuesInBraces, OutGuid);
	}
	return false;
}
