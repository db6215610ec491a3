// Stand-in for the engine's CoreTypes.h: fixed-size integers, character types, TEXT() and the platform switches.
#pragma once

#include <cstddef>
#include <cstdint>

typedef std::uint8_t uint8;
typedef std::uint16_t uint16;
typedef std::uint32_t uint32;
typedef std::uint64_t uint64;
typedef std::int8_t int8;
typedef std::int16_t int16;
typedef std::int32_t int32;
typedef std::int64_t int64;
typedef std::size_t SIZE_T;
typedef std::ptrdiff_t SSIZE_T;
typedef std::uintptr_t UPTRINT;
typedef std::intptr_t PTRINT;

typedef char ANSICHAR;
typedef char16_t WIDECHAR;
typedef char16_t UTF16CHAR;
typedef char32_t UTF32CHAR;
/** A UTF-8 code unit, a distinct type as in the engine so that bytes and text do not mix silently. */
enum UTF8CHAR : unsigned char
{
};
/** Linux builds of the engine use 16-bit characters for TCHAR. */
typedef WIDECHAR TCHAR;

#define PLATFORM_LINUX 1
#define PLATFORM_WINDOWS 0
#define PLATFORM_MAC 0
#define PLATFORM_TCHAR_IS_CHAR16 1
#define WITH_EDITOR 1
#define WITH_EDITORONLY_DATA 1
#define WITH_ENGINE 1
#define WITH_DEV_AUTOMATION_TESTS 1
#define WITH_AUTOMATION_TESTS 1
#define UE_BUILD_SHIPPING 0
#define DO_CHECK 1

#define TEXT_PASTE(x) u##x
#define TEXT(x) TEXT_PASTE(x)
#define LINE_TERMINATOR TEXT("\n")
#define LINE_TERMINATOR_ANSI "\n"

#define FORCEINLINE inline
#define FORCENOINLINE __attribute__((noinline))
#define CORE_API
#define COREUOBJECT_API
#define ENGINE_API
#define UNREALED_API
#define HTTP_API
#define JSON_API
#define SLATE_API
#define SLATECORE_API
#define UE_NODISCARD [[nodiscard]]
#define UE_DEPRECATED(Version, Message) [[deprecated(Message)]]
#define PRAGMA_DISABLE_DEPRECATION_WARNINGS
#define PRAGMA_ENABLE_DEPRECATION_WARNINGS

enum
{
	INDEX_NONE = -1
};

#define MIN_uint8 ((uint8)0x00)
#define MIN_uint16 ((uint16)0x0000)
#define MIN_uint32 ((uint32)0x00000000)
#define MIN_uint64 ((uint64)0x0000000000000000)
#define MIN_int8 ((int8)-128)
#define MIN_int16 ((int16)-32768)
#define MIN_int32 ((int32)0x80000000)
#define MIN_int64 ((int64)0x8000000000000000)
#define MAX_uint8 ((uint8)0xff)
#define MAX_uint16 ((uint16)0xffff)
#define MAX_uint32 ((uint32)0xffffffff)
#define MAX_uint64 ((uint64)0xffffffffffffffff)
#define MAX_int8 ((int8)0x7f)
#define MAX_int16 ((int16)0x7fff)
#define MAX_int32 ((int32)0x7fffffff)
#define MAX_int64 ((int64)0x7fffffffffffffff)
#define MAX_flt (3.402823466e+38F)

enum EForceInit
{
	ForceInit,
	ForceInitToZero
};

enum ENoInit
{
	NoInit
};

#include "Misc/AssertionMacros.h"
