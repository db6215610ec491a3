// Stand-in for the engine's Containers/StringConv.h: conversions between TCHAR text and UTF-8 bytes.
#pragma once

#include "CoreTypes.h"
#include <string>

namespace HostConv
{
/** UTF-16 to UTF-8; an unpaired surrogate becomes '?'. */
std::string ToUtf8(const TCHAR* Source, int32 Len);
/** UTF-8 to UTF-16; a malformed or overlong sequence becomes '?'. */
std::u16string FromUtf8(const char* Source, int32 Len);
int32 TcharLen(const TCHAR* Source);
} // namespace HostConv

/** TCHAR text converted to UTF-8 bytes, owned for the converter's lifetime. Length() is in bytes, without terminator. */
class FTCHARToUTF8
{
public:
	explicit FTCHARToUTF8(const TCHAR* Source)
		: Converted(Source ? HostConv::ToUtf8(Source, HostConv::TcharLen(Source)) : std::string())
	{
	}
	FTCHARToUTF8(const TCHAR* Source, int32 SourceLen)
		: Converted(Source ? HostConv::ToUtf8(Source, SourceLen) : std::string())
	{
	}
	const ANSICHAR* Get() const { return Converted.c_str(); }
	int32 Length() const { return (int32)Converted.size(); }

private:
	std::string Converted;
};

/** UTF-8 bytes converted to TCHAR text. */
class FUTF8ToTCHAR
{
public:
	explicit FUTF8ToTCHAR(const ANSICHAR* Source)
		: Converted(Source ? HostConv::FromUtf8(Source, (int32)std::char_traits<char>::length(Source)) : std::u16string())
	{
	}
	FUTF8ToTCHAR(const ANSICHAR* Source, int32 SourceLen)
		: Converted(Source ? HostConv::FromUtf8(Source, SourceLen) : std::u16string())
	{
	}
	explicit FUTF8ToTCHAR(const UTF8CHAR* Source)
		: FUTF8ToTCHAR((const ANSICHAR*)Source)
	{
	}
	FUTF8ToTCHAR(const UTF8CHAR* Source, int32 SourceLen)
		: FUTF8ToTCHAR((const ANSICHAR*)Source, SourceLen)
	{
	}
	const TCHAR* Get() const { return Converted.c_str(); }
	int32 Length() const { return (int32)Converted.size(); }

private:
	std::u16string Converted;
};

/** TCHAR text as plain chars: characters outside Latin-1 become '?'. */
class FTCHARToANSI
{
public:
	explicit FTCHARToANSI(const TCHAR* Source);
	const ANSICHAR* Get() const { return Converted.c_str(); }
	int32 Length() const { return (int32)Converted.size(); }

private:
	std::string Converted;
};

/** Plain chars (one byte per character) as TCHAR text. */
class FANSIToTCHAR
{
public:
	explicit FANSIToTCHAR(const ANSICHAR* Source);
	const TCHAR* Get() const { return Converted.c_str(); }
	int32 Length() const { return (int32)Converted.size(); }

private:
	std::u16string Converted;
};

/** What StringCast<To>(From) returns: holds the converted text. */
template <typename ToType>
class TStringCastResult
{
public:
	template <typename Holder>
	explicit TStringCastResult(const Holder& InHolder)
		: Text(InHolder.Get(), InHolder.Get() + InHolder.Length())
	{
	}
	const ToType* Get() const { return (const ToType*)Text.c_str(); }
	int32 Length() const { return (int32)Text.size(); }

private:
	std::basic_string<std::conditional_t<sizeof(ToType) == 1, char, char16_t>> Text;
};

template <typename ToType, typename FromType>
TStringCastResult<ToType> StringCast(const FromType* Str)
{
	if constexpr (sizeof(ToType) == 1 && sizeof(FromType) == 2)
	{
		return TStringCastResult<ToType>(FTCHARToUTF8((const TCHAR*)Str));
	}
	else if constexpr (sizeof(ToType) == 2 && sizeof(FromType) == 1)
	{
		return TStringCastResult<ToType>(FUTF8ToTCHAR((const ANSICHAR*)Str));
	}
	else
	{
		static_assert(sizeof(ToType) == sizeof(FromType), "unsupported StringCast");
		struct FSame
		{
			const FromType* Ptr;
			int32 Len;
			const FromType* Get() const { return Ptr; }
			int32 Length() const { return Len; }
		};
		int32 Len = 0;
		while (Str && Str[Len] != 0)
		{
			++Len;
		}
		return TStringCastResult<ToType>(FSame{Str, Len});
	}
}

template <typename ToType, typename FromType>
TStringCastResult<ToType> StringCast(const FromType* Str, int32 Len)
{
	if constexpr (sizeof(ToType) == 1 && sizeof(FromType) == 2)
	{
		return TStringCastResult<ToType>(FTCHARToUTF8((const TCHAR*)Str, Len));
	}
	else
	{
		static_assert(sizeof(ToType) == 2 && sizeof(FromType) == 1, "unsupported StringCast");
		return TStringCastResult<ToType>(FUTF8ToTCHAR((const ANSICHAR*)Str, Len));
	}
}

#define TCHAR_TO_UTF8(str) (ANSICHAR*)FTCHARToUTF8((const TCHAR*)str).Get()
#define UTF8_TO_TCHAR(str) (TCHAR*)FUTF8ToTCHAR((const ANSICHAR*)str).Get()
#define TCHAR_TO_ANSI(str) (ANSICHAR*)FTCHARToANSI((const TCHAR*)str).Get()
#define ANSI_TO_TCHAR(str) (TCHAR*)FANSIToTCHAR((const ANSICHAR*)str).Get()
