// The reader: a tokenizer over the UTF-16 text that checks the grammar as it goes, and the tree builder behind
// FJsonSerializer::Deserialize. Both keep their nesting in arrays rather than on the call stack, so any input ends in
// a result or an error without deep recursion.
#include "Serialization/JsonReader.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Serialization/JsonSerializer.h"
#include <cstdlib>
#include <locale.h>
#include <string>

namespace
{
bool IsJsonWhitespace(TCHAR Char)
{
	return Char == ' ' || Char == '\t' || Char == '\n' || Char == '\r';
}

bool IsNumberCharacter(TCHAR Char)
{
	return FChar::IsDigit(Char) || Char == '-' || Char == '+' || Char == '.' || Char == 'e' || Char == 'E';
}

int32 HexDigitValue(TCHAR Char)
{
	if (Char >= '0' && Char <= '9')
	{
		return Char - '0';
	}
	if (Char >= 'a' && Char <= 'f')
	{
		return Char - 'a' + 10;
	}
	if (Char >= 'A' && Char <= 'F')
	{
		return Char - 'A' + 10;
	}
	return -1;
}

/** -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)? and nothing else: no '+', no leading zeros, no bare '.'. */
bool IsJsonNumber(const std::string& Token)
{
	const SIZE_T Length = Token.size();
	SIZE_T Index = 0;
	auto SkipDigits = [&Token, &Index, Length]()
	{
		const SIZE_T Start = Index;
		while (Index < Length && Token[Index] >= '0' && Token[Index] <= '9')
		{
			++Index;
		}
		return Index > Start;
	};
	if (Index < Length && Token[Index] == '-')
	{
		++Index;
	}
	if (Index < Length && Token[Index] == '0')
	{
		++Index;
	}
	else if (!SkipDigits())
	{
		return false;
	}
	if (Index < Length && Token[Index] == '.')
	{
		++Index;
		if (!SkipDigits())
		{
			return false;
		}
	}
	if (Index < Length && (Token[Index] == 'e' || Token[Index] == 'E'))
	{
		++Index;
		if (Index < Length && (Token[Index] == '+' || Token[Index] == '-'))
		{
			++Index;
		}
		if (!SkipDigits())
		{
			return false;
		}
	}
	return Index == Length;
}

/** Decimal text to double whatever locale the process runs in; out of range gives +-inf or 0 as strtod does. */
double ParseDouble(const std::string& Token)
{
	static const locale_t CLocale = newlocale(LC_ALL_MASK, "C", (locale_t)0);
	return strtod_l(Token.c_str(), nullptr, CLocale);
}
} // namespace

template <class CharType>
bool TJsonReader<CharType>::ReadNext(EJsonNotation& Notation)
{
	if (!ErrorMessage.IsEmpty())
	{
		Notation = EJsonNotation::Error;
		return false;
	}
	Identifier.Reset();
	SkipWhitespace();
	if (bFinishedRoot)
	{
		if (Pos < Text.Len())
		{
			return ReportError(TEXT("Unexpected additional input found."), Notation);
		}
		return false;
	}
	if (Pos >= Text.Len())
	{
		return ReportError(TEXT("Improperly formatted."), Notation);
	}

	const TCHAR Char = Text[Pos];
	if (!bStarted)
	{
		bStarted = true;
		if (Char != '{' && Char != '[')
		{
			return ReportError(TEXT("Open Curly or Square Brace token expected, but not found."), Notation);
		}
		++Pos;
		return OpenScope(Char == '{' ? EJson::Object : EJson::Array, Notation);
	}

	const bool bInObject = ParseState.Top() == EJson::Object;
	if (Char == (bInObject ? '}' : ']'))
	{
		++Pos;
		ParseState.Pop();
		bScopeJustOpened = false;
		bFinishedRoot = ParseState.Num() == 0;
		Notation = bInObject ? EJsonNotation::ObjectEnd : EJsonNotation::ArrayEnd;
		return true;
	}
	if (!bScopeJustOpened)
	{
		if (Char != ',')
		{
			return ReportError(bInObject ? TEXT("Expected ',' or '}'.") : TEXT("Expected ',' or ']'."), Notation);
		}
		++Pos;
		SkipWhitespace();
		if (Pos >= Text.Len())
		{
			return ReportError(TEXT("Improperly formatted."), Notation);
		}
	}
	// From here an element must follow: a closing bracket right after ',' is refused below.
	return ReadElement(Notation, bInObject);
}

template <class CharType>
bool TJsonReader<CharType>::SkipObject()
{
	int32 Depth = 1;
	EJsonNotation Notation;
	while (ReadNext(Notation))
	{
		if (Notation == EJsonNotation::Error)
		{
			return false;
		}
		if (Notation == EJsonNotation::ObjectStart || Notation == EJsonNotation::ArrayStart)
		{
			++Depth;
		}
		else if ((Notation == EJsonNotation::ObjectEnd || Notation == EJsonNotation::ArrayEnd) && --Depth == 0)
		{
			return true;
		}
	}
	return false;
}

template <class CharType>
bool TJsonReader<CharType>::SkipArray()
{
	return SkipObject();
}

template <class CharType>
uint32 TJsonReader<CharType>::GetLineNumber() const
{
	uint32 Line = 1;
	for (int32 Index = 0; Index < Pos && Index < Text.Len(); ++Index)
	{
		Line += Text[Index] == '\n' ? 1 : 0;
	}
	return Line;
}

template <class CharType>
uint32 TJsonReader<CharType>::GetCharacterNumber() const
{
	int32 LineStart = Pos < Text.Len() ? Pos : Text.Len();
	while (LineStart > 0 && Text[LineStart - 1] != '\n')
	{
		--LineStart;
	}
	return (uint32)(Pos - LineStart + 1);
}

template <class CharType>
void TJsonReader<CharType>::SkipWhitespace()
{
	while (Pos < Text.Len() && IsJsonWhitespace(Text[Pos]))
	{
		++Pos;
	}
}

template <class CharType>
bool TJsonReader<CharType>::ReadElement(EJsonNotation& Notation, bool bMember)
{
	if (bMember)
	{
		if (Text[Pos] != '"')
		{
			return ReportError(TEXT("Expected a member name."), Notation);
		}
		if (!ReadString(Identifier))
		{
			Notation = EJsonNotation::Error;
			return true;
		}
		SkipWhitespace();
		if (Pos >= Text.Len() || Text[Pos] != ':')
		{
			return ReportError(TEXT("Expected ':' after a member name."), Notation);
		}
		++Pos;
		SkipWhitespace();
		if (Pos >= Text.Len())
		{
			return ReportError(TEXT("Improperly formatted."), Notation);
		}
	}

	bScopeJustOpened = false;
	const TCHAR Char = Text[Pos];
	if (Char == '{' || Char == '[')
	{
		++Pos;
		return OpenScope(Char == '{' ? EJson::Object : EJson::Array, Notation);
	}
	if (Char == '"')
	{
		Notation = ReadString(StringValue) ? EJsonNotation::String : EJsonNotation::Error;
		return true;
	}
	if (Char == '-' || FChar::IsDigit(Char))
	{
		Notation = ReadNumber() ? EJsonNotation::Number : EJsonNotation::Error;
		return true;
	}
	if (FChar::IsAlpha(Char))
	{
		return ReadLiteral(Notation);
	}
	return ReportError(TEXT("Invalid Json Token."), Notation);
}

template <class CharType>
bool TJsonReader<CharType>::ReadString(FString& OutText)
{
	OutText.Reset();
	++Pos; // the opening quote
	int32 RunStart = Pos;
	const int32 Length = Text.Len();
	while (Pos < Length)
	{
		const TCHAR Char = Text[Pos];
		if (Char == '"')
		{
			OutText.Append(*Text + RunStart, Pos - RunStart);
			++Pos;
			return true;
		}
		if (Char != '\\')
		{
			// Raw control characters are taken as they are.
			++Pos;
			continue;
		}
		OutText.Append(*Text + RunStart, Pos - RunStart);
		if (Pos + 1 >= Length)
		{
			break;
		}
		const TCHAR Escaped = Text[Pos + 1];
		Pos += 2;
		switch (Escaped)
		{
			case '"':
			case '\\':
			case '/':
				OutText.AppendChar(Escaped);
				break;
			case 'b':
				OutText.AppendChar('\b');
				break;
			case 'f':
				OutText.AppendChar('\f');
				break;
			case 'n':
				OutText.AppendChar('\n');
				break;
			case 'r':
				OutText.AppendChar('\r');
				break;
			case 't':
				OutText.AppendChar('\t');
				break;
			case 'u':
			{
				// One UTF-16 code unit: a surrogate pair arrives as two escapes and lands as the same two units.
				int32 Code = 0;
				for (int32 Digit = 0; Digit < 4; ++Digit)
				{
					const int32 Value = Pos < Length ? HexDigitValue(Text[Pos]) : -1;
					if (Value < 0)
					{
						SetError(TEXT("Bad \\u escape in a string."));
						return false;
					}
					Code = Code * 16 + Value;
					++Pos;
				}
				OutText.AppendChar((TCHAR)Code);
				break;
			}
			default:
				--Pos;
				SetError(TEXT("Bad escape sequence in a string."));
				return false;
		}
		RunStart = Pos;
	}
	SetError(TEXT("String without its closing quote."));
	return false;
}

template <class CharType>
bool TJsonReader<CharType>::ReadNumber()
{
	const int32 Start = Pos;
	while (Pos < Text.Len() && IsNumberCharacter(Text[Pos]))
	{
		++Pos;
	}
	std::string Token;
	Token.reserve(Pos - Start);
	for (int32 Index = Start; Index < Pos; ++Index)
	{
		Token.push_back((char)Text[Index]);
	}
	if (!IsJsonNumber(Token))
	{
		Pos = Start;
		SetError(TEXT("Invalid number."));
		return false;
	}
	StringValue = Text.Mid(Start, Pos - Start);
	NumberValue = ParseDouble(Token);
	return true;
}

template <class CharType>
bool TJsonReader<CharType>::ReadLiteral(EJsonNotation& Notation)
{
	const int32 Start = Pos;
	while (Pos < Text.Len() && FChar::IsAlpha(Text[Pos]))
	{
		++Pos;
	}
	const FString Word = Text.Mid(Start, Pos - Start);
	// Literals ignore case, as the engine's reader compares them.
	if (Word.Equals(TEXT("true"), ESearchCase::IgnoreCase) || Word.Equals(TEXT("false"), ESearchCase::IgnoreCase))
	{
		BoolValue = Word.Equals(TEXT("true"), ESearchCase::IgnoreCase);
		Notation = EJsonNotation::Boolean;
		return true;
	}
	if (Word.Equals(TEXT("null"), ESearchCase::IgnoreCase))
	{
		Notation = EJsonNotation::Null;
		return true;
	}
	Pos = Start;
	return ReportError(TEXT("Invalid Json Token."), Notation);
}

template <class CharType>
bool TJsonReader<CharType>::OpenScope(EJson Kind, EJsonNotation& Notation)
{
	if (ParseState.Num() >= HostJson::MaxDepth)
	{
		--Pos;
		return ReportError(TEXT("Nesting too deep."), Notation);
	}
	ParseState.Push(Kind);
	bScopeJustOpened = true;
	Notation = Kind == EJson::Object ? EJsonNotation::ObjectStart : EJsonNotation::ArrayStart;
	return true;
}

template <class CharType>
void TJsonReader<CharType>::SetError(const TCHAR* Message)
{
	ErrorMessage = FString::Printf(TEXT("%s Line: %u Ch: %u"), Message, GetLineNumber(), GetCharacterNumber());
}

template <class CharType>
bool TJsonReader<CharType>::ReportError(const TCHAR* Message, EJsonNotation& Notation)
{
	SetError(Message);
	Notation = EJsonNotation::Error;
	return true;
}

template class TJsonReader<TCHAR>;

namespace
{
/** An object or array being filled, with the name it will have in its parent. */
struct FOpenScope
{
	TSharedPtr<FJsonObject> Object;
	TArray<TSharedPtr<FJsonValue>> Array;
	FString Identifier;
};
} // namespace

bool HostJson::ReadDocument(TJsonReader<TCHAR>& Reader, bool bStoreNumbersAsStrings, TSharedPtr<FJsonValue>& OutRoot)
{
	TArray<FOpenScope> Scopes;
	TSharedPtr<FJsonValue> Root;
	EJsonNotation Notation;
	while (Reader.ReadNext(Notation))
	{
		TSharedPtr<FJsonValue> Value;
		FString Identifier = Reader.GetIdentifier();
		switch (Notation)
		{
			case EJsonNotation::Error:
				return false;
			case EJsonNotation::ObjectStart:
			case EJsonNotation::ArrayStart:
			{
				FOpenScope& Scope = Scopes.AddDefaulted_GetRef();
				if (Notation == EJsonNotation::ObjectStart)
				{
					Scope.Object = MakeShared<FJsonObject>();
				}
				Scope.Identifier = MoveTemp(Identifier);
				continue;
			}
			case EJsonNotation::ObjectEnd:
			case EJsonNotation::ArrayEnd:
			{
				FOpenScope Scope = Scopes.Pop();
				if (Scope.Object.IsValid())
				{
					Value = MakeShared<FJsonValueObject>(MoveTemp(Scope.Object));
				}
				else
				{
					Value = MakeShared<FJsonValueArray>(MoveTemp(Scope.Array));
				}
				Identifier = MoveTemp(Scope.Identifier);
				break;
			}
			case EJsonNotation::String:
				Value = MakeShared<FJsonValueString>(Reader.GetValueAsString());
				break;
			case EJsonNotation::Number:
				if (bStoreNumbersAsStrings)
				{
					Value = MakeShared<FJsonValueNumberString>(Reader.GetValueAsNumberString());
				}
				else
				{
					Value = MakeShared<FJsonValueNumber>(Reader.GetValueAsNumber());
				}
				break;
			case EJsonNotation::Boolean:
				Value = MakeShared<FJsonValueBoolean>(Reader.GetValueAsBoolean());
				break;
			case EJsonNotation::Null:
				Value = MakeShared<FJsonValueNull>();
				break;
		}

		if (Scopes.Num() == 0)
		{
			Root = MoveTemp(Value);
		}
		else if (Scopes.Top().Object.IsValid())
		{
			// A repeated name replaces the earlier value: the last one wins.
			Scopes.Top().Object->Values.Add(MoveTemp(Identifier), MoveTemp(Value));
		}
		else
		{
			Scopes.Top().Array.Add(MoveTemp(Value));
		}
	}
	if (!Reader.GetErrorMessage().IsEmpty() || !Root.IsValid())
	{
		return false;
	}
	OutRoot = MoveTemp(Root);
	return true;
}
