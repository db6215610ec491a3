// FText of the stand-in: display strings with the identity LOCTEXT gave them, and culture-style formatting.
#include "Internationalization/Text.h"
#include <cmath>
#include <mutex>

namespace
{
struct FLocalizableTable
{
	std::mutex Lock;
	TArray<HostText::FEntry> Entries;

	static FLocalizableTable& Get()
	{
		static FLocalizableTable Table;
		return Table;
	}
};

FString GroupDigits(const FString& Digits)
{
	// "1234567" -> "1,234,567"; a leading '-' stays in front.
	const bool bNegative = Digits.StartsWith(TEXT("-"));
	const FString Body = bNegative ? Digits.RightChop(1) : Digits;
	FString Result;
	const int32 Len = Body.Len();
	for (int32 Index = 0; Index < Len; ++Index)
	{
		if (Index > 0 && (Len - Index) % 3 == 0)
		{
			Result.AppendChar(',');
		}
		Result.AppendChar(Body[Index]);
	}
	return bNegative ? FString(TEXT("-")) + Result : Result;
}

FString FormatFloating(double Value)
{
	// The engine's default number format: grouping, up to three fractional digits, trailing zeros dropped.
	if (!std::isfinite(Value))
	{
		return FString::SanitizeFloat(Value);
	}
	FString Text = FString::Printf(TEXT("%.3f"), Value);
	FString Whole;
	FString Fraction;
	Text.Split(TEXT("."), &Whole, &Fraction);
	while (Fraction.EndsWith(TEXT("0")))
	{
		Fraction.LeftChopInline(1);
	}
	if (Whole == TEXT("-0") && Fraction.IsEmpty())
	{
		Whole = TEXT("0");
	}
	return Fraction.IsEmpty() ? GroupDigits(Whole) : GroupDigits(Whole) + TEXT(".") + Fraction;
}

template <typename LookupType>
FString FormatPattern(const FString& Pattern, const LookupType& Lookup)
{
	FString Result;
	int32 Index = 0;
	while (Index < Pattern.Len())
	{
		const TCHAR Char = Pattern[Index];
		if (Char == '`' && Index + 1 < Pattern.Len())
		{
			Result.AppendChar(Pattern[Index + 1]);
			Index += 2;
			continue;
		}
		if (Char == '{')
		{
			int32 Close = INDEX_NONE;
			for (int32 Probe = Index + 1; Probe < Pattern.Len(); ++Probe)
			{
				if (Pattern[Probe] == '}')
				{
					Close = Probe;
					break;
				}
				if (Pattern[Probe] == '{')
				{
					break;
				}
			}
			if (Close != INDEX_NONE)
			{
				const FString Name = Pattern.Mid(Index + 1, Close - Index - 1);
				const FFormatArgumentValue* Value = Lookup(Name);
				if (Value)
				{
					Result += Value->ToFormattedString();
				}
				else
				{
					Result += Pattern.Mid(Index, Close - Index + 1);
				}
				Index = Close + 1;
				continue;
			}
		}
		Result.AppendChar(Char);
		++Index;
	}
	return Result;
}
} // namespace

FText::FText()
	: Data(MakeShared<FData>())
{
}

FText::FText(TSharedRef<FData> InData)
	: Data(MoveTemp(InData))
{
}

const FText& FText::GetEmpty()
{
	static const FText Empty;
	return Empty;
}

FText FText::FromString(const FString& String)
{
	TSharedRef<FData> NewData = MakeShared<FData>();
	NewData->Display = String;
	return FText(NewData);
}

FText FText::FromString(FString&& String)
{
	TSharedRef<FData> NewData = MakeShared<FData>();
	NewData->Display = MoveTemp(String);
	return FText(NewData);
}

FText FText::FromName(const FName& Name)
{
	return FromString(Name.ToString());
}

FText FText::FromStringView(FStringView String)
{
	return FromString(FString(String));
}

FText FText::AsCultureInvariant(const FString& String)
{
	FText Result = FromString(String);
	Result.Data->bCultureInvariant = true;
	return Result;
}

FText FText::AsCultureInvariant(FString&& String)
{
	FText Result = FromString(MoveTemp(String));
	Result.Data->bCultureInvariant = true;
	return Result;
}

FText FText::AsNumber(int32 Value)
{
	return FromString(GroupDigits(FString::Printf(TEXT("%d"), Value)));
}

FText FText::AsNumber(int64 Value)
{
	return FromString(GroupDigits(FString::Printf(TEXT("%lld"), (long long)Value)));
}

FText FText::AsNumber(uint32 Value)
{
	return FromString(GroupDigits(FString::Printf(TEXT("%u"), Value)));
}

FText FText::AsNumber(float Value)
{
	return FromString(FormatFloating(Value));
}

FText FText::AsNumber(double Value)
{
	return FromString(FormatFloating(Value));
}

FText FText::AsLocalizable_Advanced(const TCHAR* Namespace, const TCHAR* Key, const TCHAR* String)
{
	TSharedRef<FData> NewData = MakeShared<FData>();
	NewData->Display = String;
	NewData->Namespace = FString(Namespace);
	NewData->Key = FString(Key);

	FLocalizableTable& Table = FLocalizableTable::Get();
	std::lock_guard<std::mutex> Guard(Table.Lock);
	const bool bKnown = Table.Entries.ContainsByPredicate([Namespace, Key, String](const HostText::FEntry& Entry)
		{
			return Entry.Namespace.Equals(Namespace) && Entry.Key.Equals(Key) && Entry.Source.Equals(String);
		});
	if (!bKnown)
	{
		Table.Entries.Add(HostText::FEntry{FString(Namespace), FString(Key), FString(String)});
	}
	return FText(NewData);
}

FText FText::Format(FTextFormat Fmt, FFormatOrderedArguments&& InArguments)
{
	return FormatOrdered(MoveTemp(Fmt), InArguments);
}

FText FText::Format(FTextFormat Fmt, const FFormatOrderedArguments& InArguments)
{
	return FormatOrdered(MoveTemp(Fmt), InArguments);
}

FText FText::Format(FTextFormat Fmt, const FFormatNamedArguments& InArguments)
{
	return FormatNamed(MoveTemp(Fmt), InArguments);
}

FText FText::FormatOrdered(FTextFormat Fmt, const FFormatOrderedArguments& InArguments)
{
	return FromString(FormatPattern(Fmt.GetSourceText().ToString(), [&InArguments](const FString& Name) -> const FFormatArgumentValue*
		{
			if (Name.IsEmpty() || !FChar::IsDigit(Name[0]))
			{
				return nullptr;
			}
			const int32 Index = FCString::Atoi(*Name);
			return InArguments.IsValidIndex(Index) ? &InArguments[Index] : nullptr;
		}));
}

FText FText::FormatNamed(FTextFormat Fmt, const FFormatNamedArguments& InArguments)
{
	return FromString(FormatPattern(Fmt.GetSourceText().ToString(), [&InArguments](const FString& Name)
		{ return InArguments.Find(Name); }));
}

FText FText::Join(const FText& Delimiter, const TArray<FText>& Args)
{
	FString Result;
	for (int32 Index = 0; Index < Args.Num(); ++Index)
	{
		if (Index > 0)
		{
			Result += Delimiter.ToString();
		}
		Result += Args[Index].ToString();
	}
	return FromString(Result);
}

const FString& FText::ToString() const
{
	return Data->Display;
}

bool FText::IsEmpty() const
{
	return Data->Display.IsEmpty();
}

bool FText::IsEmptyOrWhitespace() const
{
	return Data->Display.TrimStartAndEnd().IsEmpty();
}

bool FText::IsCultureInvariant() const
{
	return Data->bCultureInvariant;
}

bool FText::EqualTo(const FText& Other, ETextComparisonLevel::Type) const
{
	return Data->Display.Equals(Other.Data->Display, ESearchCase::CaseSensitive);
}

bool FText::EqualToCaseIgnored(const FText& Other) const
{
	return Data->Display.Equals(Other.Data->Display, ESearchCase::IgnoreCase);
}

bool FText::IdenticalTo(const FText& Other) const
{
	return &Data.Get() == &Other.Data.Get();
}

FText FText::ToLower() const
{
	return FromString(Data->Display.ToLower());
}

FText FText::ToUpper() const
{
	return FromString(Data->Display.ToUpper());
}

FText FText::TrimPrecedingAndTrailing() const
{
	return FromString(Data->Display.TrimStartAndEnd());
}

FString FFormatArgumentValue::ToFormattedString() const
{
	switch (Kind)
	{
		case Int:
			return FText::AsNumber((int64)IntValue).ToString();
		case UInt:
			return GroupDigits(FString::Printf(TEXT("%llu"), (unsigned long long)UIntValue));
		case Float:
		case Double:
			return FText::AsNumber(DoubleValue).ToString();
		case Text:
			return TextValue.ToString();
	}
	return FString();
}

TOptional<FString> FTextInspector::GetNamespace(const FText& Text)
{
	return Text.Data->Namespace;
}

TOptional<FString> FTextInspector::GetKey(const FText& Text)
{
	return Text.Data->Key;
}

const FString* FTextInspector::GetSourceString(const FText& Text)
{
	return &Text.Data->Display;
}

const FString& FTextInspector::GetDisplayString(const FText& Text)
{
	return Text.Data->Display;
}

namespace HostText
{
TArray<FEntry> GetLocalizableTexts()
{
	FLocalizableTable& Table = FLocalizableTable::Get();
	std::lock_guard<std::mutex> Guard(Table.Lock);
	return Table.Entries;
}

bool FindLocalizableText(const FString& Namespace, const FString& Key, FString& OutSource)
{
	FLocalizableTable& Table = FLocalizableTable::Get();
	std::lock_guard<std::mutex> Guard(Table.Lock);
	for (const FEntry& Entry : Table.Entries)
	{
		if (Entry.Namespace.Equals(Namespace) && Entry.Key.Equals(Key))
		{
			OutSource = Entry.Source;
			return true;
		}
	}
	return false;
}
} // namespace HostText
