// Command-line parsing with the engine's rules, quirks included: a switch is found as a plain substring anywhere
// (outside quoted text), so "Key=" also matches inside "-ApiKey=", and an empty value reads whatever follows.
#include "Misc/Parse.h"

#include "Misc/CString.h"

namespace
{
/** The first place Find occurs in Str ignoring case, not counting places inside double quotes when bSkipQuoted. */
const TCHAR* FindIgnoringCase(const TCHAR* Str, const TCHAR* Find, bool bSkipQuoted)
{
	if (Str == nullptr || Find == nullptr)
	{
		return nullptr;
	}
	const int32 FindLen = FCString::Strlen(Find);
	bool bInQuotes = false;
	for (const TCHAR* It = Str; *It != 0; ++It)
	{
		if (!bInQuotes && FCString::Strnicmp(It, Find, (SIZE_T)FindLen) == 0)
		{
			return It;
		}
		if (bSkipQuoted && *It == '"')
		{
			bInQuotes = !bInQuotes;
		}
	}
	return nullptr;
}

bool IsValueEnd(TCHAR C, bool bShouldStopOnSeparator)
{
	return C == 0 || C == ' ' || C == '\r' || C == '\n' || C == '\t' ||
		   (bShouldStopOnSeparator && (C == ',' || C == ')'));
}

/** Finds the value after Match; its text is [OutStart, OutEnd). */
bool FindValue(const TCHAR* Stream, const TCHAR* Match, bool bShouldStopOnSeparator, const TCHAR*& OutStart,
	const TCHAR*& OutEnd, const TCHAR*& OutGotTo)
{
	const TCHAR* Found = FindIgnoringCase(Stream, Match, true);
	if (Found == nullptr)
	{
		return false;
	}
	const TCHAR* Start = Found + FCString::Strlen(Match);
	if (*Start == '"')
	{
		// -Option="Value with spaces": no escapes, and an unclosed quote runs to the end.
		++Start;
		const TCHAR* End = Start;
		while (*End != 0 && *End != '"')
		{
			++End;
		}
		OutStart = Start;
		OutEnd = End;
		OutGotTo = *End == '"' ? End + 1 : End;
		return true;
	}
	while (*Start == ' ' || *Start == '\r' || *Start == '\n' || *Start == '\t')
	{
		++Start;
	}
	const TCHAR* End = Start;
	while (!IsValueEnd(*End, bShouldStopOnSeparator))
	{
		++End;
	}
	OutStart = Start;
	OutEnd = End;
	OutGotTo = End;
	return true;
}

/** Where the number after Match starts; numbers are looked for without skipping quotes, as the engine does. */
const TCHAR* FindNumber(const TCHAR* Stream, const TCHAR* Match)
{
	const TCHAR* Found = FindIgnoringCase(Stream, Match, false);
	return Found ? Found + FCString::Strlen(Match) : nullptr;
}
} // namespace

bool FParse::Value(
	const TCHAR* Stream, const TCHAR* Match, FString& Value, bool bShouldStopOnSeparator, const TCHAR** OptStreamGotTo)
{
	const TCHAR* Start = nullptr;
	const TCHAR* End = nullptr;
	const TCHAR* GotTo = nullptr;
	if (!FindValue(Stream, Match, bShouldStopOnSeparator, Start, End, GotTo))
	{
		return false;
	}
	Value = FString((int32)(End - Start), Start);
	if (OptStreamGotTo)
	{
		*OptStreamGotTo = GotTo;
	}
	return true;
}

bool FParse::Value(const TCHAR* Stream, const TCHAR* Match, TCHAR* Value, int32 MaxLen, bool bShouldStopOnSeparator,
	const TCHAR** OptStreamGotTo)
{
	const TCHAR* Start = nullptr;
	const TCHAR* End = nullptr;
	const TCHAR* GotTo = nullptr;
	if (MaxLen <= 0 || !FindValue(Stream, Match, bShouldStopOnSeparator, Start, End, GotTo))
	{
		return false;
	}
	int32 Count = (int32)(End - Start);
	Count = Count < MaxLen - 1 ? Count : MaxLen - 1;
	for (int32 Index = 0; Index < Count; ++Index)
	{
		Value[Index] = Start[Index];
	}
	Value[Count] = 0;
	if (OptStreamGotTo)
	{
		*OptStreamGotTo = GotTo;
	}
	return true;
}

bool FParse::Value(const TCHAR* Stream, const TCHAR* Match, int32& Value)
{
	const TCHAR* Number = FindNumber(Stream, Match);
	if (Number == nullptr)
	{
		return false;
	}
	Value = FCString::Atoi(Number);
	return true;
}

bool FParse::Value(const TCHAR* Stream, const TCHAR* Match, uint32& Value)
{
	const TCHAR* Number = FindNumber(Stream, Match);
	if (Number == nullptr)
	{
		return false;
	}
	Value = (uint32)FCString::Strtoui64(Number, nullptr, 10);
	return true;
}

bool FParse::Value(const TCHAR* Stream, const TCHAR* Match, int64& Value)
{
	const TCHAR* Number = FindNumber(Stream, Match);
	if (Number == nullptr)
	{
		return false;
	}
	Value = FCString::Atoi64(Number);
	return true;
}

bool FParse::Value(const TCHAR* Stream, const TCHAR* Match, float& Value)
{
	const TCHAR* Number = FindNumber(Stream, Match);
	if (Number == nullptr)
	{
		return false;
	}
	Value = FCString::Atof(Number);
	return true;
}

bool FParse::Value(const TCHAR* Stream, const TCHAR* Match, double& Value)
{
	const TCHAR* Number = FindNumber(Stream, Match);
	if (Number == nullptr)
	{
		return false;
	}
	Value = FCString::Atod(Number);
	return true;
}

bool FParse::Bool(const TCHAR* Stream, const TCHAR* Match, bool& OnOff)
{
	// The engine reads the value into a 16-character buffer first.
	TCHAR Text[16];
	if (!Value(Stream, Match, Text, 16))
	{
		return false;
	}
	OnOff = FCString::ToBool(Text);
	return true;
}

bool FParse::Param(const TCHAR* Stream, const TCHAR* Param)
{
	if (Stream == nullptr || Param == nullptr)
	{
		return false;
	}
	const int32 ParamLen = FCString::Strlen(Param);
	bool bInQuotes = false;
	for (const TCHAR* It = Stream; *It != 0; ++It)
	{
		if (*It == '"')
		{
			bInQuotes = !bInQuotes;
			continue;
		}
		// A whole token: '-' or '/' after whitespace or at the start, then the name, then whitespace or the end.
		if (!bInQuotes && (*It == '-' || *It == '/') && (It == Stream || FChar::IsWhitespace(It[-1])) &&
			FCString::Strnicmp(It + 1, Param, (SIZE_T)ParamLen) == 0 &&
			(It[1 + ParamLen] == 0 || FChar::IsWhitespace(It[1 + ParamLen])))
		{
			return true;
		}
	}
	return false;
}

bool FParse::Token(const TCHAR*& Stream, FString& Arg, bool bUseEscape)
{
	Arg.Empty();
	while (FChar::IsWhitespace(*Stream))
	{
		++Stream;
	}
	if (*Stream == '"')
	{
		// A quoted token: the quotes go, backslash escapes when asked.
		++Stream;
		while (*Stream != 0 && *Stream != '"')
		{
			TCHAR Character = *Stream++;
			if (Character == '\\' && bUseEscape)
			{
				Character = *Stream++;
				if (Character == 0)
				{
					--Stream;
					break;
				}
			}
			Arg.AppendChar(Character);
		}
		if (*Stream == '"')
		{
			++Stream;
		}
	}
	else
	{
		// An unquoted token may hold a quoted part (-Arg="a b"), which stays in it with its quotes.
		bool bInQuote = false;
		while (true)
		{
			TCHAR Character = *Stream;
			if (Character == 0 || (FChar::IsWhitespace(Character) && !bInQuote))
			{
				break;
			}
			++Stream;
			if (Character == '\\' && bUseEscape && bInQuote)
			{
				Arg.AppendChar(Character);
				Character = *Stream;
				if (Character == 0)
				{
					break;
				}
				++Stream;
			}
			else if (Character == '"')
			{
				bInQuote = !bInQuote;
			}
			Arg.AppendChar(Character);
		}
	}
	return Arg.Len() > 0;
}

bool FParse::Command(const TCHAR** Stream, const TCHAR* Match, bool bParseMightTriggerExecution)
{
	(void)bParseMightTriggerExecution;
	while (**Stream == ' ' || **Stream == '\t')
	{
		++*Stream;
	}
	const int32 MatchLen = FCString::Strlen(Match);
	if (FCString::Strnicmp(*Stream, Match, (SIZE_T)MatchLen) != 0)
	{
		return false;
	}
	if (FChar::IsAlnum((*Stream)[MatchLen]))
	{
		return false;
	}
	*Stream += MatchLen;
	while (**Stream == ' ' || **Stream == '\t')
	{
		++*Stream;
	}
	return true;
}

bool FParse::Line(const TCHAR** Stream, FString& Result, bool bExact)
{
	bool bGotStream = false;
	bool bIsQuoted = false;
	bool bIgnore = false;
	Result.Empty();
	while (**Stream != 0 && **Stream != '\n' && **Stream != '\r')
	{
		// Outside quotes (and unless exact) "//" starts a comment and '|' chains the next command.
		if (!bIsQuoted && !bExact && (*Stream)[0] == '/' && (*Stream)[1] == '/')
		{
			bIgnore = true;
		}
		if (!bIsQuoted && !bExact && **Stream == '|')
		{
			break;
		}
		bGotStream = true;
		bIsQuoted = bIsQuoted ^ (**Stream == '"');
		if (!bIgnore)
		{
			Result.AppendChar(**Stream);
		}
		++*Stream;
	}
	if (bExact)
	{
		if (**Stream == '\r')
		{
			++*Stream;
		}
		if (**Stream == '\n')
		{
			++*Stream;
		}
	}
	else
	{
		while (**Stream == '\n' || **Stream == '\r' || **Stream == '|')
		{
			++*Stream;
		}
	}
	return **Stream != 0 || bGotStream;
}
