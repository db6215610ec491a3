// Stand-in for the engine's Policies/PrettyJsonPrintPolicy.h: the default, indented layout. Lines end with the
// platform's LINE_TERMINATOR (LF here, as on every Linux and Mac editor; CR LF only on Windows).
#pragma once

#include "Policies/JsonPrintPolicy.h"

template <class CharType>
struct TPrettyJsonPrintPolicy : public TJsonPrintPolicy<CharType>
{
	/** LINE_TERMINATOR. */
	static inline void WriteLineTerminator(FArchive* Stream)
	{
		TJsonPrintPolicy<CharType>::WriteString(Stream, FStringView(LINE_TERMINATOR));
	}

	/** One tab per level. */
	static inline void WriteTabs(FArchive* Stream, int32 Count)
	{
		const CharType Tab = CharType('\t');
		for (int32 Index = 0; Index < Count; ++Index)
		{
			TJsonPrintPolicy<CharType>::WriteChar(Stream, Tab);
		}
	}

	/** The space after "name": and around inline array elements. */
	static inline void WriteSpace(FArchive* Stream) { TJsonPrintPolicy<CharType>::WriteChar(Stream, CharType(' ')); }
};
