// Stand-in for the engine's Misc/CString.h and Misc/Char.h: character classes and C-string helpers on TCHAR.
#pragma once

#include "CoreTypes.h"

struct FChar
{
	static constexpr bool IsUpper(TCHAR C) { return (C >= 'A' && C <= 'Z') || (C >= 0xC0 && C <= 0xDE && C != 0xD7); }
	static constexpr bool IsLower(TCHAR C) { return (C >= 'a' && C <= 'z') || (C >= 0xDF && C <= 0xFF && C != 0xF7); }
	/** Folds ASCII and Latin-1 letters; other characters are left as they are. */
	static constexpr TCHAR ToLower(TCHAR C) { return (IsUpper(C) ? (TCHAR)(C + 32) : C); }
	static constexpr TCHAR ToUpper(TCHAR C)
	{
		return ((C >= 'a' && C <= 'z') || (C >= 0xE0 && C <= 0xFE && C != 0xF7)) ? (TCHAR)(C - 32) : C;
	}
	static constexpr bool IsDigit(TCHAR C) { return C >= '0' && C <= '9'; }
	static constexpr bool IsAlpha(TCHAR C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z'); }
	static constexpr bool IsAlnum(TCHAR C) { return IsAlpha(C) || IsDigit(C); }
	static constexpr bool IsHexDigit(TCHAR C)
	{
		return IsDigit(C) || (C >= 'a' && C <= 'f') || (C >= 'A' && C <= 'F');
	}
	static constexpr bool IsWhitespace(TCHAR C)
	{
		return C == ' ' || C == '\t' || C == '\n' || C == '\r' || C == '\v' || C == '\f' || C == 0x85 || C == 0xA0 ||
			C == 0x1680 || (C >= 0x2000 && C <= 0x200A) || C == 0x2028 || C == 0x2029 || C == 0x202F ||
			C == 0x205F || C == 0x3000;
	}
	static constexpr bool IsLinebreak(TCHAR C) { return C == '\n' || C == '\r' || C == '\v' || C == '\f'; }
	static constexpr bool IsPunct(TCHAR C)
	{
		return (C >= 33 && C <= 47) || (C >= 58 && C <= 64) || (C >= 91 && C <= 96) || (C >= 123 && C <= 126);
	}
	static constexpr int32 ConvertCharDigitToInt(TCHAR C) { return (int32)C - '0'; }
};

struct FCString
{
	static int32 Strlen(const TCHAR* String);
	static int32 Strcmp(const TCHAR* A, const TCHAR* B);
	static int32 Stricmp(const TCHAR* A, const TCHAR* B);
	static int32 Strncmp(const TCHAR* A, const TCHAR* B, SIZE_T Count);
	static int32 Strnicmp(const TCHAR* A, const TCHAR* B, SIZE_T Count);
	static const TCHAR* Strstr(const TCHAR* String, const TCHAR* Find);
	static const TCHAR* Stristr(const TCHAR* String, const TCHAR* Find);
	static const TCHAR* Strchr(const TCHAR* String, TCHAR C);
	/** Leading whitespace, optional sign, digits; stops at the first other character ("12.9" gives 12). */
	static int32 Atoi(const TCHAR* String);
	static int64 Atoi64(const TCHAR* String);
	static float Atof(const TCHAR* String);
	static double Atod(const TCHAR* String);
	static bool ToBool(const TCHAR* String);
	static bool IsNumeric(const TCHAR* String);
	static uint64 Strtoui64(const TCHAR* Start, TCHAR** End, int32 Base);
};

struct FCStringAnsi
{
	static int32 Strlen(const ANSICHAR* String);
};
