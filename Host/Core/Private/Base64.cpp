#include "Misc/Base64.h"

namespace
{
/** The 6-bit value of an alphabet character, or -1 for any other character. */
int32 SixBits(TCHAR Char, EBase64Mode Mode)
{
	if (Char >= TEXT('A') && Char <= TEXT('Z'))
	{
		return Char - TEXT('A');
	}
	if (Char >= TEXT('a') && Char <= TEXT('z'))
	{
		return Char - TEXT('a') + 26;
	}
	if (Char >= TEXT('0') && Char <= TEXT('9'))
	{
		return Char - TEXT('0') + 52;
	}
	const bool bUrlSafe = Mode == EBase64Mode::UrlSafe;
	if (Char == (bUrlSafe ? TEXT('-') : TEXT('+')))
	{
		return 62;
	}
	if (Char == (bUrlSafe ? TEXT('_') : TEXT('/')))
	{
		return 63;
	}
	return -1;
}
} // namespace

bool FBase64::Decode(const FString& Source, TArray<uint8>& OutDest, EBase64Mode Mode)
{
	int32 Length = Source.Len();
	while (Length > 0 && Source[Length - 1] == TEXT('='))
	{
		--Length;
	}
	// A last group of one character cannot hold a whole byte.
	const int32 Tail = Length % 4;
	OutDest.SetNum(Length / 4 * 3 + (Tail == 3 ? 2 : (Tail == 2 ? 1 : 0)));
	if (Tail == 1)
	{
		return false;
	}
	uint32 Bits = 0;
	int32 BitCount = 0;
	int32 Written = 0;
	for (int32 Index = 0; Index < Length; ++Index)
	{
		const int32 Value = SixBits(Source[Index], Mode);
		if (Value < 0)
		{
			return false;
		}
		Bits = (Bits << 6) | uint32(Value);
		BitCount += 6;
		if (BitCount >= 8)
		{
			BitCount -= 8;
			OutDest[Written++] = uint8((Bits >> BitCount) & 0xFF);
		}
	}
	return true;
}
