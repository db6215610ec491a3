// Stand-in for the engine's Policies/PrettyJsonPrintPolicy.h: the default, indented layout. Lines end with CR LF on
// every platform (the engine writes its platform's line terminator; the service contract fixes the Windows bytes).
#pragma once

#include "Policies/JsonPrintPolicy.h"

template <class CharType>
struct TPrettyJsonPrintPolicy : public TJsonPrintPolicy<CharType>
{
	/** CR LF. */
	static void WriteLineTerminator(FString* Stream) { Stream->Append(TEXT("\r\n")); }
	/** One tab per level. */
	static void WriteTabs(FString* Stream, int32 Count)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Stream->AppendChar(TEXT('\t'));
		}
	}
	/** The space after "name": and around inline array elements. */
	static void WriteSpace(FString* Stream) { Stream->AppendChar(TEXT(' ')); }
};
