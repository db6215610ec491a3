// printf-style formatting on TCHAR text, following C's conversions: %s takes TCHAR text, %hs plain chars, numbers go
// through the C library so that rounding (%.1f of 0.25 is "0.2") is exactly C's.
#include "Containers/StringConv.h"
#include "Containers/UnrealString.h"
#include "Math/UnrealMathUtility.h"
#include <cstdio>
#include <string>

namespace HostFormat
{
namespace
{
struct FDirective
{
	std::string Flags;
	int32 Width = -1;
	int32 Precision = -1;
	int32 LengthLongs = 0; // 'l' count; 'z', 'j', 't' and "I64" count as two
	bool bShort = false;
	TCHAR Conversion = 0;
};

void AppendNarrow(std::u16string& Out, const char* Text)
{
	for (; *Text; ++Text)
	{
		Out.push_back((char16_t)(unsigned char)*Text);
	}
}

void AppendPadded(std::u16string& Out, const std::u16string& Text, const FDirective& Directive)
{
	const int32 Pad = Directive.Width > (int32)Text.size() ? Directive.Width - (int32)Text.size() : 0;
	const bool bLeft = Directive.Flags.find('-') != std::string::npos;
	if (!bLeft)
	{
		Out.append(Pad, u' ');
	}
	Out += Text;
	if (bLeft)
	{
		Out.append(Pad, u' ');
	}
}

std::string NarrowFormatOf(const FDirective& Directive, const char* Length, char Conversion)
{
	std::string Result = "%" + Directive.Flags;
	if (Directive.Width >= 0)
	{
		Result += std::to_string(Directive.Width);
	}
	if (Directive.Precision >= 0)
	{
		Result += "." + std::to_string(Directive.Precision);
	}
	Result += Length;
	Result.push_back(Conversion);
	return Result;
}

template <typename T>
void AppendNumber(std::u16string& Out, const std::string& NarrowFormat, T Value)
{
	char Stack[128];
	const int Needed = std::snprintf(Stack, sizeof(Stack), NarrowFormat.c_str(), Value);
	if (Needed < 0)
	{
		return;
	}
	if ((SIZE_T)Needed < sizeof(Stack))
	{
		AppendNarrow(Out, Stack);
		return;
	}
	std::string Heap((SIZE_T)Needed + 1, '\0');
	std::snprintf(Heap.data(), Heap.size(), NarrowFormat.c_str(), Value);
	AppendNarrow(Out, Heap.c_str());
}

bool IsInteger(const FArg& Arg)
{
	return Arg.Kind == FArg::Signed || Arg.Kind == FArg::Unsigned;
}

constexpr int32 MaxWidth = 4096;
} // namespace

bool FormatInto(std::u16string& Out, const TCHAR* Format, const FArg* Args, int32 NumArgs)
{
	int32 NextArg = 0;
	const TCHAR* Ptr = Format;
	while (*Ptr)
	{
		if (*Ptr != '%')
		{
			Out.push_back(*Ptr++);
			continue;
		}
		const TCHAR* DirectiveStart = Ptr++;
		if (*Ptr == '%')
		{
			Out.push_back(u'%');
			++Ptr;
			continue;
		}

		FDirective Directive;
		while (*Ptr == '-' || *Ptr == '+' || *Ptr == ' ' || *Ptr == '#' || *Ptr == '0')
		{
			if (Directive.Flags.find((char)*Ptr) == std::string::npos)
			{
				Directive.Flags.push_back((char)*Ptr);
			}
			++Ptr;
		}
		if (*Ptr == '*')
		{
			if (NextArg >= NumArgs || !IsInteger(Args[NextArg]))
			{
				return false;
			}
			// The argument is an int in C. A negative one means left-justified; its size is taken in 64 bits so
			// that INT_MIN has one, and capped like a written width, so that no argument can ask for gigabytes.
			int64 Width = (int32)Args[NextArg++].Signed64;
			if (Width < 0)
			{
				Directive.Flags.push_back('-');
				Width = -Width;
			}
			Directive.Width = (int32)FMath::Min<int64>(Width, MaxWidth);
			++Ptr;
		}
		else
		{
			while (FChar::IsDigit(*Ptr))
			{
				Directive.Width = (Directive.Width < 0 ? 0 : Directive.Width) * 10 + (*Ptr++ - '0');
				if (Directive.Width > MaxWidth)
				{
					Directive.Width = MaxWidth;
				}
			}
		}
		if (*Ptr == '.')
		{
			++Ptr;
			Directive.Precision = 0;
			if (*Ptr == '*')
			{
				if (NextArg >= NumArgs || !IsInteger(Args[NextArg]))
				{
					return false;
				}
				// A negative precision argument counts as none, as in C; a large one is capped like a written one.
				const int32 Precision = (int32)Args[NextArg++].Signed64;
				Directive.Precision = Precision < 0 ? -1 : FMath::Min(Precision, MaxWidth);
				++Ptr;
			}
			else
			{
				while (FChar::IsDigit(*Ptr))
				{
					Directive.Precision = Directive.Precision * 10 + (*Ptr++ - '0');
					if (Directive.Precision > MaxWidth)
					{
						Directive.Precision = MaxWidth;
					}
				}
			}
		}
		for (;;)
		{
			if (*Ptr == 'l')
			{
				++Directive.LengthLongs;
				++Ptr;
			}
			else if (*Ptr == 'h')
			{
				Directive.bShort = true;
				++Ptr;
			}
			else if (*Ptr == 'z' || *Ptr == 'j' || *Ptr == 't' || *Ptr == 'L')
			{
				Directive.LengthLongs = 2;
				++Ptr;
			}
			else if (Ptr[0] == 'I' && Ptr[1] == '6' && Ptr[2] == '4')
			{
				Directive.LengthLongs = 2;
				Ptr += 3;
			}
			else
			{
				break;
			}
		}
		Directive.Conversion = *Ptr;
		if (Directive.Conversion == 0)
		{
			// A lone '%' at the end: copied through as text.
			Out.append(DirectiveStart, Ptr);
			break;
		}
		++Ptr;

		const bool bKnown = std::u16string_view(u"sdiuxXocfFeEgGaAp").find(Directive.Conversion) != std::u16string_view::npos;
		if (!bKnown)
		{
			Out.append(DirectiveStart, Ptr);
			continue;
		}
		if (NextArg >= NumArgs)
		{
			return false;
		}
		const FArg& Arg = Args[NextArg++];
		switch (Directive.Conversion)
		{
			case 's':
			{
				std::u16string Text;
				if (Directive.bShort || Directive.LengthLongs == 0 || Arg.Kind == FArg::WideString)
				{
					if (Arg.Kind == FArg::WideString)
					{
						Text = Arg.Ptr ? (const TCHAR*)Arg.Ptr : u"(null)";
					}
					else if (Arg.Kind == FArg::AnsiString && Directive.bShort)
					{
						const char* Narrow = Arg.Ptr ? (const char*)Arg.Ptr : "(null)";
						Text = HostConv::FromUtf8(Narrow, (int32)std::char_traits<char>::length(Narrow));
					}
					else
					{
						return false;
					}
				}
				else
				{
					return false;
				}
				if (Directive.Precision >= 0 && (int32)Text.size() > Directive.Precision)
				{
					Text.resize(Directive.Precision);
				}
				AppendPadded(Out, Text, Directive);
				break;
			}
			case 'c':
			{
				if (!IsInteger(Arg))
				{
					return false;
				}
				AppendPadded(Out, std::u16string(1, (char16_t)Arg.Unsigned64), Directive);
				break;
			}
			case 'd':
			case 'i':
			{
				if (!IsInteger(Arg))
				{
					return false;
				}
				if (Directive.LengthLongs >= 2 || Directive.LengthLongs == 1)
				{
					AppendNumber(Out, NarrowFormatOf(Directive, "ll", 'd'), (long long)Arg.Signed64);
				}
				else
				{
					AppendNumber(Out, NarrowFormatOf(Directive, "", 'd'), (int)(int32)Arg.Signed64);
				}
				break;
			}
			case 'u':
			case 'x':
			case 'X':
			case 'o':
			{
				if (!IsInteger(Arg))
				{
					return false;
				}
				if (Directive.LengthLongs >= 1)
				{
					AppendNumber(Out, NarrowFormatOf(Directive, "ll", (char)Directive.Conversion), (unsigned long long)Arg.Unsigned64);
				}
				else
				{
					AppendNumber(Out, NarrowFormatOf(Directive, "", (char)Directive.Conversion), (unsigned)(uint32)Arg.Unsigned64);
				}
				break;
			}
			case 'p':
			{
				if (Arg.Kind != FArg::Pointer && Arg.Kind != FArg::WideString && Arg.Kind != FArg::AnsiString)
				{
					return false;
				}
				AppendNumber(Out, NarrowFormatOf(Directive, "", 'p'), Arg.Ptr);
				break;
			}
			default:
			{
				if (Arg.Kind != FArg::Floating)
				{
					return false;
				}
				AppendNumber(Out, NarrowFormatOf(Directive, "", (char)Directive.Conversion), Arg.Floating64);
				break;
			}
		}
	}
	return true;
}
} // namespace HostFormat

FString FString::PrintfImpl(const TCHAR* Fmt, std::initializer_list<HostFormat::FArg> Args)
{
	FString Result;
	const bool bFormatted = HostFormat::FormatInto(Result.Data, Fmt, Args.begin(), (int32)Args.size());
	// The engine reads past its arguments or misreads them here and crashes or prints garbage; the stand-in stops.
	checkf(bFormatted, TEXT("FString::Printf: arguments do not match the format"));
	return Result;
}

// --- FString::Format and its arguments ---

FStringFormatArg::FStringFormatArg(int32 Value) : Type(Int), IntValue(Value) {}
FStringFormatArg::FStringFormatArg(uint32 Value) : Type(UInt), UIntValue(Value) {}
FStringFormatArg::FStringFormatArg(int64 Value) : Type(Int), IntValue(Value) {}
FStringFormatArg::FStringFormatArg(uint64 Value) : Type(UInt), UIntValue(Value) {}
FStringFormatArg::FStringFormatArg(float Value) : Type(Double), DoubleValue(Value) {}
FStringFormatArg::FStringFormatArg(double Value) : Type(Double), DoubleValue(Value) {}
FStringFormatArg::FStringFormatArg(const FString& Value) : Type(String), StringValuePtr(new FString(Value)) {}
FStringFormatArg::FStringFormatArg(FString&& Value) : Type(String), StringValuePtr(new FString(MoveTemp(Value))) {}
FStringFormatArg::FStringFormatArg(const TCHAR* Value) : Type(String), StringValuePtr(new FString(Value)) {}

FStringFormatArg::FStringFormatArg(const FStringFormatArg& Other)
	: Type(Other.Type)
	, IntValue(Other.IntValue)
	, UIntValue(Other.UIntValue)
	, DoubleValue(Other.DoubleValue)
	, StringValuePtr(Other.StringValuePtr ? new FString(*Other.StringValuePtr) : nullptr)
	, StringLiteralValue(Other.StringLiteralValue)
{
}

FStringFormatArg& FStringFormatArg::operator=(const FStringFormatArg& Other)
{
	if (this != &Other)
	{
		delete StringValuePtr;
		Type = Other.Type;
		IntValue = Other.IntValue;
		UIntValue = Other.UIntValue;
		DoubleValue = Other.DoubleValue;
		StringValuePtr = Other.StringValuePtr ? new FString(*Other.StringValuePtr) : nullptr;
		StringLiteralValue = Other.StringLiteralValue;
	}
	return *this;
}

FStringFormatArg::~FStringFormatArg()
{
	delete StringValuePtr;
}

namespace
{
FString FormatArgToString(const FStringFormatArg& Arg)
{
	switch (Arg.Type)
	{
		case FStringFormatArg::Int:
			return FString::Printf(TEXT("%lld"), (long long)Arg.IntValue);
		case FStringFormatArg::UInt:
			return FString::Printf(TEXT("%llu"), (unsigned long long)Arg.UIntValue);
		case FStringFormatArg::Double:
			return FString::Printf(TEXT("%f"), Arg.DoubleValue);
		case FStringFormatArg::String:
			return Arg.StringValuePtr ? *Arg.StringValuePtr : FString();
		case FStringFormatArg::StringLiteral:
			return FString(Arg.StringLiteralValue);
	}
	return FString();
}

template <typename LookupType>
FString FormatWithLookup(const TCHAR* InFormatString, const LookupType& Lookup)
{
	FString Result;
	const FString Format(InFormatString);
	int32 Index = 0;
	while (Index < Format.Len())
	{
		if (Format[Index] == '`' && Index + 1 < Format.Len() && (Format[Index + 1] == '{' || Format[Index + 1] == '}'))
		{
			Result.AppendChar(Format[Index + 1]);
			Index += 2;
			continue;
		}
		if (Format[Index] == '{')
		{
			int32 Close = INDEX_NONE;
			for (int32 Probe = Index + 1; Probe < Format.Len(); ++Probe)
			{
				if (Format[Probe] == '}')
				{
					Close = Probe;
					break;
				}
			}
			if (Close != INDEX_NONE)
			{
				const FString Name = Format.Mid(Index + 1, Close - Index - 1);
				const FStringFormatArg* Arg = Lookup(Name);
				if (Arg)
				{
					Result += FormatArgToString(*Arg);
					Index = Close + 1;
					continue;
				}
			}
		}
		Result.AppendChar(Format[Index]);
		++Index;
	}
	return Result;
}
} // namespace

FString FString::Format(const TCHAR* InFormatString, const TArray<FStringFormatArg>& InOrderedArguments)
{
	return FormatWithLookup(InFormatString, [&InOrderedArguments](const FString& Name) -> const FStringFormatArg*
		{
			if (Name.IsEmpty() || !FCString::IsNumeric(*Name) || Name.Contains(TEXT(".")) || Name.StartsWith(TEXT("-")))
			{
				return nullptr;
			}
			const int32 Index = FCString::Atoi(*Name);
			return InOrderedArguments.IsValidIndex(Index) ? &InOrderedArguments[Index] : nullptr;
		});
}

FString FString::Format(const TCHAR* InFormatString, const TMap<FString, FStringFormatArg>& InNamedArguments)
{
	return FormatWithLookup(InFormatString, [&InNamedArguments](const FString& Name) -> const FStringFormatArg*
		{
			return InNamedArguments.Find(Name);
		});
}
