// Stand-in for the engine's Policies/CondensedJsonPrintPolicy.h: no line breaks, indentation or spaces at all.
#pragma once

#include "Policies/JsonPrintPolicy.h"

template <class CharType>
struct TCondensedJsonPrintPolicy : public TJsonPrintPolicy<CharType>
{
	static inline void WriteLineTerminator(FArchive* Stream) { (void)Stream; }
	static inline void WriteTabs(FArchive* Stream, int32 Count)
	{
		(void)Stream;
		(void)Count;
	}
	static inline void WriteSpace(FArchive* Stream) { (void)Stream; }
};
