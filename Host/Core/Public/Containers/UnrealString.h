// Stand-in for the engine's Containers/UnrealString.h: FString with the engine's case rules (==, Find, StartsWith,
// Replace ignore case by default; Equals and Compare do not) and its printf-style formatting.
#pragma once

#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/StringFormatArg.h"
#include "CoreTypes.h"
#include "Templates/TypeHash.h"
#include <string>
#include <type_traits>

namespace ESearchCase
{
enum Type
{
	CaseSensitive,
	IgnoreCase,
};
}

namespace ESearchDir
{
enum Type
{
	FromStart,
	FromEnd,
};
}

template <typename CharType>
class TStringView;
using FStringView = TStringView<TCHAR>;

namespace HostFormat
{
/** One printf argument after the variadic promotions. */
struct FArg
{
	enum EKind
	{
		Signed,
		Unsigned,
		Floating,
		WideString,
		AnsiString,
		Pointer,
	};
	EKind Kind = Signed;
	int64 Signed64 = 0;
	uint64 Unsigned64 = 0;
	double Floating64 = 0.0;
	const void* Ptr = nullptr;
};

/** What the engine's variadic formatting accepts: arithmetic values, enums and pointers, nothing with a class type. */
template <typename T>
inline constexpr bool IsValidVariadicArg = std::is_arithmetic_v<T> || std::is_enum_v<T> || std::is_pointer_v<T> ||
	std::is_null_pointer_v<T>;

template <typename T>
FArg MakeArg(T Value)
{
	FArg Arg;
	if constexpr (std::is_pointer_v<T>)
	{
		using Pointee = std::remove_cv_t<std::remove_pointer_t<T>>;
		Arg.Ptr = (const void*)Value;
		if constexpr (std::is_same_v<Pointee, TCHAR>)
		{
			Arg.Kind = FArg::WideString;
		}
		else if constexpr (std::is_same_v<Pointee, ANSICHAR> || std::is_same_v<Pointee, UTF8CHAR>)
		{
			Arg.Kind = FArg::AnsiString;
		}
		else
		{
			Arg.Kind = FArg::Pointer;
		}
	}
	else if constexpr (std::is_null_pointer_v<T>)
	{
		Arg.Kind = FArg::Pointer;
	}
	else if constexpr (std::is_floating_point_v<T>)
	{
		Arg.Kind = FArg::Floating;
		Arg.Floating64 = (double)Value;
	}
	else if constexpr (std::is_enum_v<T>)
	{
		Arg.Kind = FArg::Signed;
		Arg.Signed64 = (int64)Value;
		Arg.Unsigned64 = (uint64)Value;
	}
	else if constexpr (std::is_signed_v<T>)
	{
		Arg.Kind = FArg::Signed;
		Arg.Signed64 = (int64)Value;
		Arg.Unsigned64 = (uint64)(int64)Value;
	}
	else
	{
		Arg.Kind = FArg::Unsigned;
		Arg.Signed64 = (int64)Value;
		Arg.Unsigned64 = (uint64)Value;
	}
	return Arg;
}

/**
 * Formats printf-style into Out. Returns false when an argument is missing or does not suit its conversion (the
 * engine would read garbage or crash there); malformed conversions are copied through as text.
 */
bool FormatInto(std::u16string& Out, const TCHAR* Format, const FArg* Args, int32 NumArgs);
} // namespace HostFormat

class FString
{
public:
	using ElementType = TCHAR;

	FString() = default;
	FString(const FString&) = default;
	FString(FString&&) noexcept = default;
	FString& operator=(const FString&) = default;
	FString& operator=(FString&&) noexcept = default;

	FString(const TCHAR* Str);
	/** Plain char text is taken as ASCII/Latin-1, one byte per character, as the engine's ANSI conversion does. */
	FString(const ANSICHAR* Str);
	/** From UTF-8 text with a terminator. */
	FString(const UTF8CHAR* Str);
	FString(int32 InCount, const TCHAR* InSrc);
	FString(int32 InCount, const ANSICHAR* InSrc);
	/** From UTF-8 bytes that need no terminator. */
	FString(int32 InCount, const UTF8CHAR* InSrc);
	explicit FString(FStringView View);
	FString(std::nullptr_t) = delete;

	FString& operator=(const TCHAR* Str);

	/** Never null: an empty string gives TEXT(""). */
	FORCEINLINE const TCHAR* operator*() const { return Data.c_str(); }
	FORCEINLINE int32 Len() const { return (int32)Data.size(); }
	FORCEINLINE bool IsEmpty() const { return Data.empty(); }
	FORCEINLINE bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Len(); }
	void Empty(int32 Slack = 0);
	void Reset(int32 NewReservedSize = 0);
	void Reserve(int32 CharacterCount);
	void Shrink() { Data.shrink_to_fit(); }

	TCHAR& operator[](int32 Index)
	{
		check(IsValidIndex(Index));
		return Data[Index];
	}
	const TCHAR& operator[](int32 Index) const
	{
		check(IsValidIndex(Index));
		return Data[Index];
	}

	FString& Append(const FString& Text);
	FString& Append(const TCHAR* Text);
	FString& Append(const TCHAR* Text, int32 Count);
	FString& Append(const ANSICHAR* Text, int32 Count);
	FString& AppendChar(TCHAR InChar);
	FString& AppendChars(const TCHAR* Text, int32 Count) { return Append(Text, Count); }
	void AppendInt(int32 InNum);
	FString& operator+=(const FString& Str) { return Append(Str); }
	FString& operator+=(const TCHAR* Str) { return Append(Str); }
	FString& operator+=(TCHAR Char) { return AppendChar(Char); }
	FString& operator/=(const FString& Str);
	FString& operator/=(const TCHAR* Str);

	void InsertAt(int32 Index, TCHAR Character);
	void InsertAt(int32 Index, const FString& Characters);
	void RemoveAt(int32 Index, int32 Count = 1, bool bAllowShrinking = true);

	bool Equals(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;
	int32 Compare(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;

	FString Left(int32 Count) const;
	FString LeftChop(int32 Count) const;
	FString Right(int32 Count) const;
	FString RightChop(int32 Count) const;
	FString Mid(int32 Start, int32 Count = 0x7fffffff) const;
	void LeftInline(int32 Count, bool bAllowShrinking = true);
	void LeftChopInline(int32 Count, bool bAllowShrinking = true);
	void RightInline(int32 Count, bool bAllowShrinking = true);
	void RightChopInline(int32 Count, bool bAllowShrinking = true);
	void MidInline(int32 Start, int32 Count = 0x7fffffff, bool bAllowShrinking = true);

	int32 Find(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase,
		ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const;
	int32 Find(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase,
		ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const
	{
		return Find(*SubStr, SearchCase, SearchDir, StartPosition);
	}
	bool Contains(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase,
		ESearchDir::Type SearchDir = ESearchDir::FromStart) const
	{
		return Find(SubStr, SearchCase, SearchDir) != INDEX_NONE;
	}
	bool Contains(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase,
		ESearchDir::Type SearchDir = ESearchDir::FromStart) const
	{
		return Find(*SubStr, SearchCase, SearchDir) != INDEX_NONE;
	}
	bool FindChar(TCHAR InChar, int32& Index) const;
	bool FindLastChar(TCHAR InChar, int32& Index) const;
	template <typename Predicate>
	int32 FindLastCharByPredicate(Predicate Pred, int32 Count) const
	{
		for (int32 Index = (Count < Len() ? Count : Len()) - 1; Index >= 0; --Index)
		{
			if (Pred(Data[Index]))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	template <typename Predicate>
	int32 FindLastCharByPredicate(Predicate Pred) const
	{
		return FindLastCharByPredicate(Pred, Len());
	}

	bool StartsWith(const TCHAR* InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool StartsWith(const FString& InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool EndsWith(const TCHAR* InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool EndsWith(const FString& InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool RemoveFromStart(const TCHAR* InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromStart(const FString& InPrefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromEnd(const TCHAR* InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromEnd(const FString& InSuffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);

	FString Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const&;
	int32 ReplaceInline(const TCHAR* SearchText, const TCHAR* ReplacementText,
		ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	void ReplaceCharInline(TCHAR SearchChar, TCHAR ReplacementChar,
		ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);

	FString TrimStart() const&;
	FString TrimEnd() const&;
	FString TrimStartAndEnd() const&;
	void TrimStartInline();
	void TrimEndInline();
	void TrimStartAndEndInline();
	FString TrimQuotes(bool* bQuotesRemoved = nullptr) const;
	FString ToLower() const&;
	FString ToUpper() const&;
	void ToLowerInline();
	void ToUpperInline();
	FString LeftPad(int32 ChCount) const;
	FString RightPad(int32 ChCount) const;
	FString Reverse() const;
	void ReverseString();

	bool Split(const FString& InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase,
		ESearchDir::Type SearchDir = ESearchDir::FromStart) const;
	int32 ParseIntoArray(TArray<FString>& OutArray, const TCHAR* pchDelim, bool bInCullEmpty = true) const;
	int32 ParseIntoArrayLines(TArray<FString>& OutArray, bool bInCullEmpty = true) const;
	int32 ParseIntoArrayWS(TArray<FString>& OutArray, const TCHAR* pchExtraDelim = nullptr, bool bInCullEmpty = true) const;

	/** Sign, digits and at most one '.', as the engine's check for numeric text. */
	bool IsNumeric() const;
	bool ToBool() const;

	static FString Chr(TCHAR Ch);
	static FString ChrN(int32 NumCharacters, TCHAR Char);
	static FString FromInt(int32 Num);
	static FString SanitizeFloat(double InFloat, const int32 InMinFractionalDigits = 1);
	static FString ConcatFF(const FString& A, const FString& B);

	template <typename RangeType>
	static FString Join(const RangeType& Range, const TCHAR* Separator)
	{
		FString Result;
		bool bFirst = true;
		for (const auto& Element : Range)
		{
			if (!bFirst)
			{
				Result += Separator;
			}
			bFirst = false;
			Result += Element;
		}
		return Result;
	}

	/** printf-style formatting; the format must be a TCHAR literal and every argument a plain value or pointer. */
	template <typename FmtType, typename... Types>
	static FString Printf(const FmtType& Fmt, Types... Args)
	{
		static_assert(std::is_array_v<FmtType> && std::is_same_v<std::remove_cv_t<std::remove_extent_t<FmtType>>, TCHAR>,
			"Formatting string must be a TCHAR array.");
		static_assert((HostFormat::IsValidVariadicArg<Types> && ...), "Invalid argument(s) passed to FString::Printf");
		return PrintfImpl(Fmt, {HostFormat::MakeArg(Args)...});
	}
	template <typename FmtType, typename... Types>
	FString& Appendf(const FmtType& Fmt, Types... Args)
	{
		static_assert(std::is_array_v<FmtType> && std::is_same_v<std::remove_cv_t<std::remove_extent_t<FmtType>>, TCHAR>,
			"Formatting string must be a TCHAR array.");
		static_assert((HostFormat::IsValidVariadicArg<Types> && ...), "Invalid argument(s) passed to FString::Appendf");
		return Append(PrintfImpl(Fmt, {HostFormat::MakeArg(Args)...}));
	}

	/** "{0}" style ordered and "{Name}" style named arguments. */
	static FString Format(const TCHAR* InFormatString, const TArray<FStringFormatArg>& InOrderedArguments);
	static FString Format(const TCHAR* InFormatString, const TMap<FString, FStringFormatArg>& InNamedArguments);

	friend bool operator==(const FString& Lhs, const FString& Rhs) { return Lhs.Equals(Rhs, ESearchCase::IgnoreCase); }
	friend bool operator==(const FString& Lhs, const TCHAR* Rhs) { return Lhs.Equals(FString(Rhs), ESearchCase::IgnoreCase); }
	friend bool operator==(const TCHAR* Lhs, const FString& Rhs) { return Rhs == Lhs; }
	friend bool operator!=(const FString& Lhs, const FString& Rhs) { return !(Lhs == Rhs); }
	friend bool operator!=(const FString& Lhs, const TCHAR* Rhs) { return !(Lhs == Rhs); }
	friend bool operator!=(const TCHAR* Lhs, const FString& Rhs) { return !(Rhs == Lhs); }
	friend bool operator<(const FString& Lhs, const FString& Rhs) { return Lhs.Compare(Rhs, ESearchCase::IgnoreCase) < 0; }
	friend bool operator>(const FString& Lhs, const FString& Rhs) { return Lhs.Compare(Rhs, ESearchCase::IgnoreCase) > 0; }
	friend bool operator<=(const FString& Lhs, const FString& Rhs) { return Lhs.Compare(Rhs, ESearchCase::IgnoreCase) <= 0; }
	friend bool operator>=(const FString& Lhs, const FString& Rhs) { return Lhs.Compare(Rhs, ESearchCase::IgnoreCase) >= 0; }

	friend FString operator+(const FString& Lhs, const FString& Rhs) { return ConcatFF(Lhs, Rhs); }
	friend FString operator+(FString&& Lhs, const FString& Rhs)
	{
		Lhs.Append(Rhs);
		return MoveTemp(Lhs);
	}
	friend FString operator+(const FString& Lhs, const TCHAR* Rhs) { return ConcatFF(Lhs, FString(Rhs)); }
	friend FString operator+(FString&& Lhs, const TCHAR* Rhs)
	{
		Lhs.Append(Rhs);
		return MoveTemp(Lhs);
	}
	friend FString operator+(const TCHAR* Lhs, const FString& Rhs) { return ConcatFF(FString(Lhs), Rhs); }
	friend FString operator+(const FString& Lhs, TCHAR Rhs)
	{
		FString Result(Lhs);
		Result.AppendChar(Rhs);
		return Result;
	}

	/** Joins two path pieces with one '/' unless Lhs already ends in a separator or Rhs starts with '/'. */
	friend FString operator/(const FString& Lhs, const FString& Rhs);
	friend FString operator/(const FString& Lhs, const TCHAR* Rhs) { return Lhs / FString(Rhs); }
	friend FString operator/(const TCHAR* Lhs, const FString& Rhs) { return FString(Lhs) / Rhs; }

	auto begin() { return Data.begin(); }
	auto end() { return Data.end(); }
	auto begin() const { return Data.begin(); }
	auto end() const { return Data.end(); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** The stand-in's storage, for Host code that hands the text to a library. */
	const std::u16string& HostStorage() const { return Data; }
	std::u16string& HostStorage() { return Data; }
#endif

private:
	static FString PrintfImpl(const TCHAR* Fmt, std::initializer_list<HostFormat::FArg> Args);

	std::u16string Data;
};

/** Hash that ignores case, so that TMap<FString, ...> keys compare as the engine's do. */
uint32 GetTypeHash(const FString& S);

inline FString LexToString(const FString& Value)
{
	return Value;
}
inline FString LexToString(const TCHAR* Value)
{
	return FString(Value);
}
inline FString LexToString(int32 Value)
{
	return FString::FromInt(Value);
}
inline FString LexToString(bool Value)
{
	return Value ? FString(TEXT("true")) : FString(TEXT("false"));
}

#include "Containers/StringView.h"
#include "Misc/CString.h"
