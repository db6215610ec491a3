// Stand-in for the engine's Logging/LogMacros.h: log categories and UE_LOG. UE_LOG checks its format against its
// arguments at compile time, as the engine's format-string checker does when it is enabled: %s needs TCHAR text,
// %d an integer, %f a floating value, and the count must match.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Logging/LogCategory.h"
#include "Logging/LogVerbosity.h"
#include <type_traits>

namespace HostLogFormat
{
template <typename... Types>
struct TTypeList
{
};

template <typename... Types>
TTypeList<std::decay_t<Types>...> TypesOf(Types&&...);

enum class EArgClass
{
	Integral,
	Floating,
	WideText,
	AnsiText,
	Pointer,
	Other
};

template <typename T>
constexpr EArgClass Classify()
{
	if constexpr (std::is_pointer_v<T>)
	{
		using Pointee = std::remove_cv_t<std::remove_pointer_t<T>>;
		if constexpr (std::is_same_v<Pointee, TCHAR>)
		{
			return EArgClass::WideText;
		}
		else if constexpr (std::is_same_v<Pointee, ANSICHAR> || std::is_same_v<Pointee, UTF8CHAR>)
		{
			return EArgClass::AnsiText;
		}
		else
		{
			return EArgClass::Pointer;
		}
	}
	else if constexpr (std::is_floating_point_v<T>)
	{
		return EArgClass::Floating;
	}
	else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
	{
		return EArgClass::Integral;
	}
	else if constexpr (std::is_null_pointer_v<T>)
	{
		return EArgClass::Pointer;
	}
	else
	{
		return EArgClass::Other;
	}
}

/** 0 when the format suits the arguments; otherwise a code saying what is wrong. */
template <typename CharType, SIZE_T N, typename... Types>
consteval int Validate(const CharType (&Format)[N], TTypeList<Types...>)
{
	constexpr EArgClass Classes[] = {Classify<Types>()..., EArgClass::Other};
	constexpr int NumArgs = (int)sizeof...(Types);
	int Next = 0;
	for (SIZE_T Index = 0; Index + 1 < N && Format[Index] != 0; ++Index)
	{
		if (Format[Index] != '%')
		{
			continue;
		}
		++Index;
		if (Format[Index] == '%')
		{
			continue;
		}
		while (Format[Index] == '-' || Format[Index] == '+' || Format[Index] == ' ' || Format[Index] == '#' ||
			Format[Index] == '0')
		{
			++Index;
		}
		if (Format[Index] == '*')
		{
			if (Next >= NumArgs || Classes[Next] != EArgClass::Integral)
			{
				return 3;
			}
			++Next;
			++Index;
		}
		while (Format[Index] >= '0' && Format[Index] <= '9')
		{
			++Index;
		}
		if (Format[Index] == '.')
		{
			++Index;
			if (Format[Index] == '*')
			{
				if (Next >= NumArgs || Classes[Next] != EArgClass::Integral)
				{
					return 3;
				}
				++Next;
				++Index;
			}
			while (Format[Index] >= '0' && Format[Index] <= '9')
			{
				++Index;
			}
		}
		bool bShort = false;
		while (Format[Index] == 'l' || Format[Index] == 'h' || Format[Index] == 'z' || Format[Index] == 'j' ||
			Format[Index] == 'L' || Format[Index] == 't')
		{
			bShort = bShort || Format[Index] == 'h';
			++Index;
		}
		const CharType Conversion = Format[Index];
		if (Conversion == 0)
		{
			return 1; // a lone '%'
		}
		if (Next >= NumArgs)
		{
			return 2; // too few arguments
		}
		const EArgClass Class = Classes[Next++];
		switch (Conversion)
		{
			case 's':
				if (Class != (bShort ? EArgClass::AnsiText : EArgClass::WideText))
				{
					return 4;
				}
				break;
			case 'c':
			case 'd':
			case 'i':
			case 'u':
			case 'x':
			case 'X':
			case 'o':
				if (Class != EArgClass::Integral && !(Conversion != 'c' && Class == EArgClass::Pointer))
				{
					return 5;
				}
				break;
			case 'f':
			case 'F':
			case 'e':
			case 'E':
			case 'g':
			case 'G':
			case 'a':
			case 'A':
				if (Class != EArgClass::Floating)
				{
					return 6;
				}
				break;
			case 'p':
				if (Class != EArgClass::Pointer && Class != EArgClass::WideText && Class != EArgClass::AnsiText)
				{
					return 7;
				}
				break;
			default:
				return 8; // unknown conversion
		}
	}
	return Next == NumArgs ? 0 : 9; // 9: more arguments than conversions
}
} // namespace HostLogFormat

/** Writes one message to the log (and ends the process for Fatal). */
struct FMsg
{
	static void LogString(const ANSICHAR* File, int32 Line, const FName& Category, ELogVerbosity::Type Verbosity,
		const FString& Message);
	template <typename FmtType, typename... Types>
	static void Logf(const ANSICHAR* File, int32 Line, const FName& Category, ELogVerbosity::Type Verbosity,
		const FmtType& Fmt, Types... Args)
	{
		LogString(File, Line, Category, Verbosity, FString::Printf(Fmt, Args...));
	}
};

/** The category's own type: a log category with the verbosities it was declared with, named after the category. */
#define HOST_LOG_CATEGORY_TYPE(CategoryName, DefaultVerbosity, CompileTimeVerbosity)                                  \
	struct FLogCategory##CategoryName                                                                                 \
		: public FLogCategory<ELogVerbosity::DefaultVerbosity, ELogVerbosity::CompileTimeVerbosity>                  \
	{                                                                                                                 \
		FORCEINLINE FLogCategory##CategoryName()                                                                      \
			: FLogCategory(TEXT(#CategoryName))                                                                       \
		{                                                                                                             \
		}                                                                                                             \
	}

#define DECLARE_LOG_CATEGORY_EXTERN(CategoryName, DefaultVerbosity, CompileTimeVerbosity)                             \
	extern HOST_LOG_CATEGORY_TYPE(CategoryName, DefaultVerbosity, CompileTimeVerbosity) CategoryName;

#define DEFINE_LOG_CATEGORY(CategoryName) FLogCategory##CategoryName CategoryName;

#define DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity)                               \
	static HOST_LOG_CATEGORY_TYPE(CategoryName, DefaultVerbosity, CompileTimeVerbosity) CategoryName;

#define DECLARE_LOG_CATEGORY_CLASS(CategoryName, DefaultVerbosity, CompileTimeVerbosity)                               \
	DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity)
#define DEFINE_LOG_CATEGORY_CLASS(Class, CategoryName)

#define UE_LOG(CategoryName, Verbosity, Format, ...)                                                                   \
	do                                                                                                                \
	{                                                                                                                 \
		static_assert(HostLogFormat::Validate(Format, decltype(HostLogFormat::TypesOf(__VA_ARGS__)){}) == 0,           \
			"Formatting string does not match its arguments (UE_LOG)");                                               \
		if ((ELogVerbosity::Verbosity & ELogVerbosity::VerbosityMask) <= CategoryName.CompileTimeVerbosity &&         \
			!CategoryName.IsSuppressed(ELogVerbosity::Verbosity))                                                     \
		{                                                                                                             \
			FMsg::Logf(__FILE__, __LINE__, CategoryName.GetCategoryName(), ELogVerbosity::Verbosity,                  \
				Format __VA_OPT__(, ) __VA_ARGS__);                                                                   \
		}                                                                                                             \
	} while (false)

#define UE_CLOG(Condition, CategoryName, Verbosity, Format, ...)                                                       \
	do                                                                                                                \
	{                                                                                                                 \
		if (Condition)                                                                                                \
		{                                                                                                             \
			UE_LOG(CategoryName, Verbosity, Format __VA_OPT__(, ) __VA_ARGS__);                                       \
		}                                                                                                             \
	} while (false)

DECLARE_LOG_CATEGORY_EXTERN(LogTemp, Log, All)
DECLARE_LOG_CATEGORY_EXTERN(LogCore, Log, All)
DECLARE_LOG_CATEGORY_EXTERN(LogInit, Log, All)
DECLARE_LOG_CATEGORY_EXTERN(LogHttp, Warning, All)
DECLARE_LOG_CATEGORY_EXTERN(LogJson, Log, All)
