// Stand-in for the engine's Containers/StringView.h: a non-owning view of characters.
#pragma once

#include "CoreTypes.h"
#include <string_view>
#include <type_traits>
#include <utility>

class FString;

template <typename CharType>
class TStringView
{
public:
	using ElementType = CharType;

	constexpr TStringView() = default;
	constexpr TStringView(const CharType* InData)
		: View(InData ? std::basic_string_view<CharType>(InData) : std::basic_string_view<CharType>())
	{
	}
	constexpr TStringView(const CharType* InData, int32 InSize)
		: View(InData, InSize)
	{
	}
	/** Views any string of this character type that has operator* and Len(), as FString. */
	template <typename StringType,
		typename = std::enable_if_t<std::is_convertible_v<decltype(*std::declval<const StringType&>()), const CharType*>>,
		typename = decltype(std::declval<const StringType&>().Len())>
	TStringView(const StringType& String)
		: View(*String, String.Len())
	{
	}

	constexpr const CharType* GetData() const { return View.data(); }
	constexpr int32 Len() const { return (int32)View.size(); }
	constexpr bool IsEmpty() const { return View.empty(); }
	constexpr const CharType& operator[](int32 Index) const { return View[Index]; }
	constexpr TStringView Left(int32 Count) const { return TStringView(View.substr(0, Count < 0 ? 0 : Count)); }
	constexpr TStringView Mid(int32 Start, int32 Count = 0x7fffffff) const
	{
		return Start >= Len() ? TStringView() : TStringView(View.substr(Start, Count));
	}
	constexpr auto begin() const { return View.begin(); }
	constexpr auto end() const { return View.end(); }

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** The stand-in's storage view. */
	constexpr std::basic_string_view<CharType> HostView() const { return View; }
#endif

private:
	constexpr explicit TStringView(std::basic_string_view<CharType> InView)
		: View(InView)
	{
	}
	std::basic_string_view<CharType> View;
};

using FStringView = TStringView<TCHAR>;
using FAnsiStringView = TStringView<ANSICHAR>;
using FUtf8StringView = TStringView<UTF8CHAR>;
