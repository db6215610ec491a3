// FString of the stand-in: storage, searching with the engine's case rules, trimming, splitting, joining paths.
#include "Containers/UnrealString.h"
#include "Containers/StringConv.h"
#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
bool CharsEqual(TCHAR A, TCHAR B, ESearchCase::Type SearchCase)
{
	return SearchCase == ESearchCase::CaseSensitive ? A == B : FChar::ToLower(A) == FChar::ToLower(B);
}

bool RangeEquals(const TCHAR* A, const TCHAR* B, int32 Count, ESearchCase::Type SearchCase)
{
	for (int32 Index = 0; Index < Count; ++Index)
	{
		if (!CharsEqual(A[Index], B[Index], SearchCase))
		{
			return false;
		}
	}
	return true;
}

int32 Clamp(int32 Value, int32 Low, int32 High)
{
	return Value < Low ? Low : (Value > High ? High : Value);
}
} // namespace

FString::FString(const TCHAR* Str)
{
	if (Str)
	{
		Data.assign(Str);
	}
}

FString::FString(const ANSICHAR* Str)
{
	for (const ANSICHAR* Ptr = Str; Ptr && *Ptr; ++Ptr)
	{
		Data.push_back((TCHAR)(unsigned char)*Ptr);
	}
}

FString::FString(const UTF8CHAR* Str)
{
	if (Str)
	{
		Data = HostConv::FromUtf8((const char*)Str, (int32)std::strlen((const char*)Str));
	}
}

FString::FString(int32 InCount, const TCHAR* InSrc)
{
	if (InSrc && InCount > 0)
	{
		Data.assign(InSrc, InCount);
	}
}

FString::FString(int32 InCount, const ANSICHAR* InSrc)
{
	for (int32 Index = 0; InSrc && Index < InCount; ++Index)
	{
		Data.push_back((TCHAR)(unsigned char)InSrc[Index]);
	}
}

FString::FString(int32 InCount, const UTF8CHAR* InSrc)
{
	if (InSrc && InCount > 0)
	{
		Data = HostConv::FromUtf8((const char*)InSrc, InCount);
	}
}

FString::FString(FStringView View)
	: Data(View.HostView())
{
}

FString& FString::operator=(const TCHAR* Str)
{
	Data = Str ? Str : u"";
	return *this;
}

void FString::Empty(int32 Slack)
{
	Data.clear();
	if (Slack == 0)
	{
		Data.shrink_to_fit();
	}
	else
	{
		Data.reserve(Slack);
	}
}

void FString::Reset(int32 NewReservedSize)
{
	Data.clear();
	Data.reserve(NewReservedSize);
}

void FString::Reserve(int32 CharacterCount)
{
	Data.reserve(CharacterCount > 0 ? CharacterCount : 0);
}

FString& FString::Append(const FString& Text)
{
	Data.append(Text.Data);
	return *this;
}

FString& FString::Append(const TCHAR* Text)
{
	if (Text)
	{
		Data.append(Text);
	}
	return *this;
}

FString& FString::Append(const TCHAR* Text, int32 Count)
{
	if (Text && Count > 0)
	{
		Data.append(Text, Count);
	}
	return *this;
}

FString& FString::Append(const ANSICHAR* Text, int32 Count)
{
	for (int32 Index = 0; Text && Index < Count; ++Index)
	{
		Data.push_back((TCHAR)(unsigned char)Text[Index]);
	}
	return *this;
}

FString& FString::AppendChar(TCHAR InChar)
{
	Data.push_back(InChar);
	return *this;
}

void FString::AppendInt(int32 InNum)
{
	Append(FromInt(InNum));
}

FString& FString::operator/=(const FString& Str)
{
	*this = *this / Str;
	return *this;
}

FString& FString::operator/=(const TCHAR* Str)
{
	*this = *this / FString(Str);
	return *this;
}

FString operator/(const FString& Lhs, const FString& Rhs)
{
	FString Result(Lhs);
	const bool bLhsEndsInSeparator = !Lhs.IsEmpty() && (Lhs.Data.back() == '/' || Lhs.Data.back() == '\\');
	const bool bRhsStartsWithSlash = !Rhs.IsEmpty() && Rhs.Data.front() == '/';
	if (!Lhs.IsEmpty() && !bLhsEndsInSeparator && !bRhsStartsWithSlash)
	{
		Result.AppendChar('/');
	}
	Result.Append(Rhs);
	return Result;
}

void FString::InsertAt(int32 Index, TCHAR Character)
{
	check(Index >= 0 && Index <= Len());
	Data.insert(Data.begin() + Index, Character);
}

void FString::InsertAt(int32 Index, const FString& Characters)
{
	check(Index >= 0 && Index <= Len());
	Data.insert(Index, Characters.Data);
}

void FString::RemoveAt(int32 Index, int32 Count, bool bAllowShrinking)
{
	(void)bAllowShrinking;
	check(Index >= 0 && Count >= 0 && Index + Count <= Len());
	Data.erase(Index, Count);
}

bool FString::Equals(const FString& Other, ESearchCase::Type SearchCase) const
{
	return Len() == Other.Len() && RangeEquals(Data.data(), Other.Data.data(), Len(), SearchCase);
}

int32 FString::Compare(const FString& Other, ESearchCase::Type SearchCase) const
{
	return SearchCase == ESearchCase::CaseSensitive ? FCString::Strcmp(**this, *Other) : FCString::Stricmp(**this, *Other);
}

FString FString::Left(int32 Count) const
{
	return FString(Clamp(Count, 0, Len()), Data.data());
}

FString FString::LeftChop(int32 Count) const
{
	return FString(Clamp(Len() - Count, 0, Len()), Data.data());
}

FString FString::Right(int32 Count) const
{
	const int32 Keep = Clamp(Count, 0, Len());
	return FString(Keep, Data.data() + Len() - Keep);
}

FString FString::RightChop(int32 Count) const
{
	const int32 Start = Clamp(Count, 0, Len());
	return FString(Len() - Start, Data.data() + Start);
}

FString FString::Mid(int32 Start, int32 Count) const
{
	if (Count <= 0)
	{
		return FString();
	}
	const int64 End = Clamp((int32)std::min<int64>((int64)Start + Count, Len()), 0, Len());
	const int32 Begin = Clamp(Start, 0, Len());
	return End > Begin ? FString((int32)End - Begin, Data.data() + Begin) : FString();
}

void FString::LeftInline(int32 Count, bool) { *this = Left(Count); }
void FString::LeftChopInline(int32 Count, bool) { *this = LeftChop(Count); }
void FString::RightInline(int32 Count, bool) { *this = Right(Count); }
void FString::RightChopInline(int32 Count, bool) { *this = RightChop(Count); }
void FString::MidInline(int32 Start, int32 Count, bool) { *this = Mid(Start, Count); }

int32 FString::Find(const TCHAR* SubStr, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir, int32 StartPosition) const
{
	if (!SubStr)
	{
		return INDEX_NONE;
	}
	const int32 SubLen = FCString::Strlen(SubStr);
	if (SearchDir == ESearchDir::FromStart)
	{
		const int32 Begin = StartPosition == INDEX_NONE ? 0 : Clamp(StartPosition, 0, Len());
		for (int32 Index = Begin; Index + SubLen <= Len(); ++Index)
		{
			if (RangeEquals(Data.data() + Index, SubStr, SubLen, SearchCase))
			{
				return Index;
			}
		}
	}
	else
	{
		const int32 Last = StartPosition == INDEX_NONE ? Len() - SubLen : std::min(StartPosition, Len()) - SubLen;
		for (int32 Index = Last; Index >= 0; --Index)
		{
			if (RangeEquals(Data.data() + Index, SubStr, SubLen, SearchCase))
			{
				return Index;
			}
		}
	}
	return INDEX_NONE;
}

bool FString::FindChar(TCHAR InChar, int32& Index) const
{
	const SIZE_T Found = Data.find(InChar);
	Index = Found == std::u16string::npos ? INDEX_NONE : (int32)Found;
	return Index != INDEX_NONE;
}

bool FString::FindLastChar(TCHAR InChar, int32& Index) const
{
	const SIZE_T Found = Data.rfind(InChar);
	Index = Found == std::u16string::npos ? INDEX_NONE : (int32)Found;
	return Index != INDEX_NONE;
}

bool FString::StartsWith(const TCHAR* InPrefix, ESearchCase::Type SearchCase) const
{
	if (!InPrefix || !*InPrefix)
	{
		return false;
	}
	const int32 PrefixLen = FCString::Strlen(InPrefix);
	return PrefixLen <= Len() && RangeEquals(Data.data(), InPrefix, PrefixLen, SearchCase);
}

bool FString::StartsWith(const FString& InPrefix, ESearchCase::Type SearchCase) const
{
	return StartsWith(*InPrefix, SearchCase);
}

bool FString::EndsWith(const TCHAR* InSuffix, ESearchCase::Type SearchCase) const
{
	if (!InSuffix || !*InSuffix)
	{
		return false;
	}
	const int32 SuffixLen = FCString::Strlen(InSuffix);
	return SuffixLen <= Len() && RangeEquals(Data.data() + Len() - SuffixLen, InSuffix, SuffixLen, SearchCase);
}

bool FString::EndsWith(const FString& InSuffix, ESearchCase::Type SearchCase) const
{
	return EndsWith(*InSuffix, SearchCase);
}

bool FString::RemoveFromStart(const TCHAR* InPrefix, ESearchCase::Type SearchCase)
{
	if (!StartsWith(InPrefix, SearchCase))
	{
		return false;
	}
	Data.erase(0, FCString::Strlen(InPrefix));
	return true;
}

bool FString::RemoveFromStart(const FString& InPrefix, ESearchCase::Type SearchCase)
{
	return RemoveFromStart(*InPrefix, SearchCase);
}

bool FString::RemoveFromEnd(const TCHAR* InSuffix, ESearchCase::Type SearchCase)
{
	if (!EndsWith(InSuffix, SearchCase))
	{
		return false;
	}
	Data.erase(Len() - FCString::Strlen(InSuffix));
	return true;
}

bool FString::RemoveFromEnd(const FString& InSuffix, ESearchCase::Type SearchCase)
{
	return RemoveFromEnd(*InSuffix, SearchCase);
}

FString FString::Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase) const&
{
	FString Result(*this);
	Result.ReplaceInline(From, To, SearchCase);
	return Result;
}

int32 FString::ReplaceInline(const TCHAR* SearchText, const TCHAR* ReplacementText, ESearchCase::Type SearchCase)
{
	if (!SearchText || !*SearchText || IsEmpty())
	{
		return 0;
	}
	const int32 SearchLen = FCString::Strlen(SearchText);
	const std::u16string Replacement = ReplacementText ? ReplacementText : u"";
	std::u16string Out;
	int32 Count = 0;
	int32 Index = 0;
	while (Index < Len())
	{
		if (Index + SearchLen <= Len() && RangeEquals(Data.data() + Index, SearchText, SearchLen, SearchCase))
		{
			Out += Replacement;
			Index += SearchLen;
			++Count;
		}
		else
		{
			Out.push_back(Data[Index]);
			++Index;
		}
	}
	Data = MoveTemp(Out);
	return Count;
}

void FString::ReplaceCharInline(TCHAR SearchChar, TCHAR ReplacementChar, ESearchCase::Type SearchCase)
{
	for (TCHAR& Char : Data)
	{
		if (CharsEqual(Char, SearchChar, SearchCase))
		{
			Char = ReplacementChar;
		}
	}
}

FString FString::TrimStart() const&
{
	int32 Begin = 0;
	while (Begin < Len() && FChar::IsWhitespace(Data[Begin]))
	{
		++Begin;
	}
	return RightChop(Begin);
}

FString FString::TrimEnd() const&
{
	int32 End = Len();
	while (End > 0 && FChar::IsWhitespace(Data[End - 1]))
	{
		--End;
	}
	return Left(End);
}

FString FString::TrimStartAndEnd() const&
{
	return TrimStart().TrimEnd();
}

void FString::TrimStartInline() { *this = TrimStart(); }
void FString::TrimEndInline() { *this = TrimEnd(); }
void FString::TrimStartAndEndInline() { *this = TrimStartAndEnd(); }

FString FString::TrimQuotes(bool* bQuotesRemoved) const
{
	int32 Begin = 0;
	int32 End = Len();
	bool bRemoved = false;
	if (Len() > 0 && Data[0] == '"')
	{
		++Begin;
		bRemoved = true;
	}
	if (End > Begin && Data[End - 1] == '"')
	{
		--End;
		bRemoved = true;
	}
	if (bQuotesRemoved)
	{
		*bQuotesRemoved = bRemoved;
	}
	return Mid(Begin, End - Begin);
}

FString FString::ToLower() const&
{
	FString Result(*this);
	Result.ToLowerInline();
	return Result;
}

FString FString::ToUpper() const&
{
	FString Result(*this);
	Result.ToUpperInline();
	return Result;
}

void FString::ToLowerInline()
{
	for (TCHAR& Char : Data)
	{
		Char = FChar::ToLower(Char);
	}
}

void FString::ToUpperInline()
{
	for (TCHAR& Char : Data)
	{
		Char = FChar::ToUpper(Char);
	}
}

FString FString::LeftPad(int32 ChCount) const
{
	const int32 Pad = ChCount - Len();
	return Pad > 0 ? ChrN(Pad, ' ') + *this : *this;
}

FString FString::RightPad(int32 ChCount) const
{
	const int32 Pad = ChCount - Len();
	return Pad > 0 ? *this + ChrN(Pad, ' ') : *this;
}

FString FString::Reverse() const
{
	FString Result(*this);
	Result.ReverseString();
	return Result;
}

void FString::ReverseString()
{
	std::reverse(Data.begin(), Data.end());
}

bool FString::Split(const FString& InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir) const
{
	const int32 Index = Find(InS, SearchCase, SearchDir);
	if (Index == INDEX_NONE)
	{
		return false;
	}
	if (LeftS)
	{
		*LeftS = Left(Index);
	}
	if (RightS)
	{
		*RightS = Mid(Index + InS.Len());
	}
	return true;
}

int32 FString::ParseIntoArray(TArray<FString>& OutArray, const TCHAR* pchDelim, bool bInCullEmpty) const
{
	OutArray.Reset();
	const int32 DelimLen = pchDelim ? FCString::Strlen(pchDelim) : 0;
	if (DelimLen == 0)
	{
		if (!IsEmpty() || !bInCullEmpty)
		{
			OutArray.Add(*this);
		}
		return OutArray.Num();
	}
	int32 Start = 0;
	while (true)
	{
		const int32 Found = Find(pchDelim, ESearchCase::CaseSensitive, ESearchDir::FromStart, Start);
		const int32 End = Found == INDEX_NONE ? Len() : Found;
		if (End > Start || !bInCullEmpty)
		{
			OutArray.Add(Mid(Start, End - Start));
		}
		if (Found == INDEX_NONE)
		{
			break;
		}
		Start = Found + DelimLen;
	}
	return OutArray.Num();
}

int32 FString::ParseIntoArrayLines(TArray<FString>& OutArray, bool bInCullEmpty) const
{
	OutArray.Reset();
	int32 Start = 0;
	for (int32 Index = 0; Index <= Len(); ++Index)
	{
		if (Index == Len() || Data[Index] == '\n' || Data[Index] == '\r')
		{
			if (Index > Start || !bInCullEmpty)
			{
				OutArray.Add(Mid(Start, Index - Start));
			}
			if (Index + 1 < Len() && Data[Index] == '\r' && Data[Index + 1] == '\n')
			{
				++Index;
			}
			Start = Index + 1;
		}
	}
	return OutArray.Num();
}

int32 FString::ParseIntoArrayWS(TArray<FString>& OutArray, const TCHAR* pchExtraDelim, bool bInCullEmpty) const
{
	OutArray.Reset();
	const FString Extra(pchExtraDelim);
	int32 Start = 0;
	for (int32 Index = 0; Index <= Len(); ++Index)
	{
		bool bDelim = Index == Len() || FChar::IsWhitespace(Data[Index]);
		int32 Skip = 1;
		if (!bDelim && !Extra.IsEmpty() && Index + Extra.Len() <= Len() &&
			RangeEquals(Data.data() + Index, *Extra, Extra.Len(), ESearchCase::CaseSensitive))
		{
			bDelim = true;
			Skip = Extra.Len();
		}
		if (bDelim)
		{
			if (Index > Start || !bInCullEmpty)
			{
				OutArray.Add(Mid(Start, Index - Start));
			}
			Index += Skip - 1;
			Start = Index + 1;
		}
	}
	return OutArray.Num();
}

bool FString::IsNumeric() const
{
	return FCString::IsNumeric(**this);
}

bool FString::ToBool() const
{
	return FCString::ToBool(**this);
}

FString FString::Chr(TCHAR Ch)
{
	FString Result;
	Result.AppendChar(Ch);
	return Result;
}

FString FString::ChrN(int32 NumCharacters, TCHAR Char)
{
	FString Result;
	if (NumCharacters > 0)
	{
		Result.Data.assign(NumCharacters, Char);
	}
	return Result;
}

FString FString::FromInt(int32 Num)
{
	char Buffer[16];
	std::snprintf(Buffer, sizeof(Buffer), "%d", Num);
	return FString(Buffer);
}

FString FString::SanitizeFloat(double InFloat, const int32 InMinFractionalDigits)
{
	if (std::isnan(InFloat))
	{
		return FString(TEXT("nan"));
	}
	if (std::isinf(InFloat))
	{
		return FString(InFloat > 0 ? TEXT("inf") : TEXT("-inf"));
	}
	char Buffer[512];
	std::snprintf(Buffer, sizeof(Buffer), "%f", InFloat);
	std::string Text(Buffer);
	const SIZE_T Dot = Text.find('.');
	if (Dot != std::string::npos)
	{
		SIZE_T End = Text.size();
		while (End > Dot + 1 && Text[End - 1] == '0')
		{
			--End;
		}
		Text.resize(End);
		const int32 Fraction = (int32)(Text.size() - Dot - 1);
		if (Fraction < InMinFractionalDigits)
		{
			Text.append(InMinFractionalDigits - Fraction, '0');
		}
		if (InMinFractionalDigits <= 0 && Text.back() == '.')
		{
			Text.pop_back();
		}
	}
	return FString(Text.c_str());
}

FString FString::ConcatFF(const FString& A, const FString& B)
{
	FString Result;
	Result.Data.reserve(A.Data.size() + B.Data.size());
	Result.Data.append(A.Data);
	Result.Data.append(B.Data);
	return Result;
}

uint32 GetTypeHash(const FString& S)
{
	// FNV-1a over folded characters, so that strings equal under == hash alike.
	uint32 Hash = 2166136261u;
	for (TCHAR Char : S)
	{
		Hash = (Hash ^ (uint32)FChar::ToLower(Char)) * 16777619u;
	}
	return Hash;
}

// --- FCString ---

int32 FCString::Strlen(const TCHAR* String)
{
	return String ? HostConv::TcharLen(String) : 0;
}

int32 FCString::Strcmp(const TCHAR* A, const TCHAR* B)
{
	for (;; ++A, ++B)
	{
		if (*A != *B)
		{
			return *A < *B ? -1 : 1;
		}
		if (*A == 0)
		{
			return 0;
		}
	}
}

int32 FCString::Stricmp(const TCHAR* A, const TCHAR* B)
{
	for (;; ++A, ++B)
	{
		const TCHAR LowerA = FChar::ToLower(*A);
		const TCHAR LowerB = FChar::ToLower(*B);
		if (LowerA != LowerB)
		{
			return LowerA < LowerB ? -1 : 1;
		}
		if (LowerA == 0)
		{
			return 0;
		}
	}
}

int32 FCString::Strncmp(const TCHAR* A, const TCHAR* B, SIZE_T Count)
{
	for (SIZE_T Index = 0; Index < Count; ++Index)
	{
		if (A[Index] != B[Index])
		{
			return A[Index] < B[Index] ? -1 : 1;
		}
		if (A[Index] == 0)
		{
			return 0;
		}
	}
	return 0;
}

int32 FCString::Strnicmp(const TCHAR* A, const TCHAR* B, SIZE_T Count)
{
	for (SIZE_T Index = 0; Index < Count; ++Index)
	{
		const TCHAR LowerA = FChar::ToLower(A[Index]);
		const TCHAR LowerB = FChar::ToLower(B[Index]);
		if (LowerA != LowerB)
		{
			return LowerA < LowerB ? -1 : 1;
		}
		if (LowerA == 0)
		{
			return 0;
		}
	}
	return 0;
}

const TCHAR* FCString::Strstr(const TCHAR* String, const TCHAR* Find)
{
	const int32 Index = FString(String).Find(Find, ESearchCase::CaseSensitive);
	return Index == INDEX_NONE ? nullptr : String + Index;
}

const TCHAR* FCString::Stristr(const TCHAR* String, const TCHAR* Find)
{
	const int32 Index = FString(String).Find(Find, ESearchCase::IgnoreCase);
	return Index == INDEX_NONE ? nullptr : String + Index;
}

const TCHAR* FCString::Strchr(const TCHAR* String, TCHAR C)
{
	for (; *String; ++String)
	{
		if (*String == C)
		{
			return String;
		}
	}
	return C == 0 ? String : nullptr;
}

int64 FCString::Atoi64(const TCHAR* String)
{
	if (!String)
	{
		return 0;
	}
	while (FChar::IsWhitespace(*String))
	{
		++String;
	}
	bool bNegative = false;
	if (*String == '-' || *String == '+')
	{
		bNegative = *String == '-';
		++String;
	}
	uint64 Value = 0;
	while (FChar::IsDigit(*String))
	{
		Value = Value * 10 + (uint64)(*String - '0');
		++String;
	}
	// Negated as unsigned, so that the most negative value does not overflow; larger values wrap as C's do.
	return bNegative ? (int64)(0 - Value) : (int64)Value;
}

int32 FCString::Atoi(const TCHAR* String)
{
	return (int32)Atoi64(String);
}

double FCString::Atod(const TCHAR* String)
{
	const std::string Narrow = HostConv::ToUtf8(String ? String : u"", Strlen(String));
	return std::strtod(Narrow.c_str(), nullptr);
}

float FCString::Atof(const TCHAR* String)
{
	return (float)Atod(String);
}

bool FCString::ToBool(const TCHAR* String)
{
	if (!String)
	{
		return false;
	}
	if (Stricmp(String, TEXT("True")) == 0 || Stricmp(String, TEXT("Yes")) == 0 || Stricmp(String, TEXT("On")) == 0)
	{
		return true;
	}
	if (Stricmp(String, TEXT("False")) == 0 || Stricmp(String, TEXT("No")) == 0 || Stricmp(String, TEXT("Off")) == 0)
	{
		return false;
	}
	return Atoi(String) != 0;
}

bool FCString::IsNumeric(const TCHAR* String)
{
	if (!String || !*String)
	{
		return false;
	}
	if (*String == '-' || *String == '+')
	{
		++String;
	}
	// As the engine's check: a lone sign or dot counts as numeric too.
	bool bHasDot = false;
	for (; *String; ++String)
	{
		if (*String == '.')
		{
			if (bHasDot)
			{
				return false;
			}
			bHasDot = true;
		}
		else if (!FChar::IsDigit(*String))
		{
			return false;
		}
	}
	return true;
}

uint64 FCString::Strtoui64(const TCHAR* Start, TCHAR** End, int32 Base)
{
	const std::string Narrow = HostConv::ToUtf8(Start, Strlen(Start));
	char* NarrowEnd = nullptr;
	const uint64 Value = std::strtoull(Narrow.c_str(), &NarrowEnd, Base);
	if (End)
	{
		*End = const_cast<TCHAR*>(Start) + (NarrowEnd - Narrow.c_str());
	}
	return Value;
}

int32 FCStringAnsi::Strlen(const ANSICHAR* String)
{
	return String ? (int32)std::strlen(String) : 0;
}
