// Stand-in for the engine's Internationalization/Text.h: FText carrying its display string and, for texts made by
// LOCTEXT/NSLOCTEXT, its namespace and key, which tests read through FTextInspector.
#pragma once

#include "Containers/Array.h"
#include "Containers/Map.h"
#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Misc/Optional.h"
#include "Templates/SharedPointer.h"
#include "UObject/NameTypes.h"

class FText;
class FTextFormat;
struct FFormatArgumentValue;
using FFormatOrderedArguments = TArray<FFormatArgumentValue>;
using FFormatNamedArguments = TMap<FString, FFormatArgumentValue>;

namespace ETextComparisonLevel
{
enum Type
{
	Default,
	Primary,
	Secondary,
	Tertiary,
	Quaternary,
	Quinary
};
}

class FText
{
public:
	FText();

	static const FText& GetEmpty();
	static FText FromString(const FString& String);
	static FText FromString(FString&& String);
	static FText FromName(const FName& Name);
	static FText FromStringView(FStringView String);
	static FText AsCultureInvariant(const FString& String);
	static FText AsCultureInvariant(FString&& String);
	/** Numbers are written with the culture's grouping (1234 -> "1,234"). */
	static FText AsNumber(int32 Value);
	static FText AsNumber(int64 Value);
	static FText AsNumber(uint32 Value);
	static FText AsNumber(float Value);
	static FText AsNumber(double Value);

	/** The LOCTEXT path: a localizable text with its namespace and key. */
	static FText AsLocalizable_Advanced(const TCHAR* Namespace, const TCHAR* Key, const TCHAR* String);

	template <typename... ArgTypes>
		requires((std::is_constructible_v<FFormatArgumentValue, ArgTypes&&> && ...))
	static FText Format(FTextFormat Fmt, ArgTypes&&... Args);
	static FText Format(FTextFormat Fmt, FFormatOrderedArguments&& InArguments);
	static FText Format(FTextFormat Fmt, const FFormatOrderedArguments& InArguments);
	static FText Format(FTextFormat Fmt, const FFormatNamedArguments& InArguments);
	static FText FormatOrdered(FTextFormat Fmt, const FFormatOrderedArguments& InArguments);
	static FText FormatNamed(FTextFormat Fmt, const FFormatNamedArguments& InArguments);
	static FText Join(const FText& Delimiter, const TArray<FText>& Args);

	const FString& ToString() const;
	FString BuildSourceString() const { return ToString(); }
	bool IsEmpty() const;
	bool IsEmptyOrWhitespace() const;
	bool IsCultureInvariant() const;
	bool IsFromStringTable() const { return false; }
	bool EqualTo(const FText& Other, ETextComparisonLevel::Type ComparisonLevel = ETextComparisonLevel::Default) const;
	bool EqualToCaseIgnored(const FText& Other) const;
	bool IdenticalTo(const FText& Other) const;
	FText ToLower() const;
	FText ToUpper() const;
	FText TrimPrecedingAndTrailing() const;

private:
	friend class FTextInspector;
	struct FData
	{
		FString Display;
		TOptional<FString> Namespace;
		TOptional<FString> Key;
		bool bCultureInvariant = false;
	};
	explicit FText(TSharedRef<FData> InData);
	TSharedRef<FData> Data;
};

/** A text used as a format pattern ("{0} of {Name}"); a backtick escapes a brace. */
class FTextFormat
{
public:
	FTextFormat(const FText& InText)
		: Pattern(InText)
	{
	}
	static FTextFormat FromString(const FString& InString) { return FTextFormat(FText::FromString(InString)); }
	const FText& GetSourceText() const { return Pattern; }

private:
	FText Pattern;
};

/** A value filled into a format: text or number. */
struct FFormatArgumentValue
{
	enum EKind
	{
		Int,
		UInt,
		Float,
		Double,
		Text
	};
	EKind Kind = Text;
	int64 IntValue = 0;
	uint64 UIntValue = 0;
	double DoubleValue = 0.0;
	FText TextValue;

	FFormatArgumentValue() = default;
	FFormatArgumentValue(int32 Value) : Kind(Int), IntValue(Value) {}
	FFormatArgumentValue(int64 Value) : Kind(Int), IntValue(Value) {}
	FFormatArgumentValue(uint32 Value) : Kind(UInt), UIntValue(Value) {}
	FFormatArgumentValue(uint64 Value) : Kind(UInt), UIntValue(Value) {}
	FFormatArgumentValue(float Value) : Kind(Float), DoubleValue(Value) {}
	FFormatArgumentValue(double Value) : Kind(Double), DoubleValue(Value) {}
	FFormatArgumentValue(const FText& Value) : Kind(Text), TextValue(Value) {}
	/** The display string of the value, as a format inserts it. */
	FString ToFormattedString() const;
};

struct FFormatArgumentData;

template <typename... ArgTypes>
	requires((std::is_constructible_v<FFormatArgumentValue, ArgTypes&&> && ...))
FText FText::Format(FTextFormat Fmt, ArgTypes&&... Args)
{
	FFormatOrderedArguments Ordered;
	(Ordered.Add(FFormatArgumentValue(Forward<ArgTypes>(Args))), ...);
	return FormatOrdered(MoveTemp(Fmt), Ordered);
}

/** Reads the identity of a text, as the engine's inspector does. */
class FTextInspector
{
public:
	static TOptional<FString> GetNamespace(const FText& Text);
	static TOptional<FString> GetKey(const FText& Text);
	static const FString* GetSourceString(const FText& Text);
	static const FString& GetDisplayString(const FText& Text);
};

namespace HostText
{
/** Every localizable text made so far, by namespace and key, so tests can look texts up as the localization tools would. */
struct FEntry
{
	FString Namespace;
	FString Key;
	FString Source;
};
TArray<FEntry> GetLocalizableTexts();
bool FindLocalizableText(const FString& Namespace, const FString& Key, FString& OutSource);
} // namespace HostText

class FInternationalization
{
public:
	static FText ForUseOnlyByLocMacroAndGraphNodeTextLiterals_CreateText(const TCHAR* InTextLiteral, const TCHAR* InNamespace,
		const TCHAR* InKey)
	{
		return FText::AsLocalizable_Advanced(InNamespace, InKey, InTextLiteral);
	}
};

#define LOCTEXT(InKey, InTextLiteral)                                                                                     \
	FInternationalization::ForUseOnlyByLocMacroAndGraphNodeTextLiterals_CreateText(TEXT(InTextLiteral),                 \
		TEXT(LOCTEXT_NAMESPACE), TEXT(InKey))
#define NSLOCTEXT(InNamespace, InKey, InTextLiteral)                                                                     \
	FInternationalization::ForUseOnlyByLocMacroAndGraphNodeTextLiterals_CreateText(TEXT(InTextLiteral), TEXT(InNamespace), \
		TEXT(InKey))
#define INVTEXT(InTextLiteral) FText::AsCultureInvariant(TEXT(InTextLiteral))
