// Stand-in for the engine's Policies/JsonPrintPolicy.h: how a JSON writer puts characters, text and numbers into its
// archive, as CharType units. Policies are sets of static functions that writers call as PrintPolicy::Fn(Stream, ...),
// so a policy derived from another replaces a function for every call the writer makes by declaring its own.
#pragma once

#include "Containers/StringView.h"
#include "Containers/UnrealString.h"
#include "CoreMinimal.h"
#include "Serialization/Archive.h"

#include <string>

namespace HostJson
{
/** Numbers as the engine prints them: "%.17g" for doubles, "%g" for floats. */
FString FormatDouble(double Value);
FString FormatFloat(float Value);
} // namespace HostJson

template <class CharType>
struct TJsonPrintPolicy
{
	/** Writes one character. */
	static inline void WriteChar(FArchive* Stream, CharType Char) { Stream->Serialize(&Char, sizeof(CharType)); }

	/** Writes text as it is (no quoting or escaping). */
	static inline void WriteString(FArchive* Stream, const FString& String)
	{
		WriteString(Stream, FStringView(*String, String.Len()));
	}

	/** Writes text as it is, converted to CharType units. */
	static inline void WriteString(FArchive* Stream, FStringView String)
	{
		if constexpr (sizeof(CharType) == sizeof(TCHAR))
		{
			Stream->Serialize((void*)String.GetData(), (int64)String.Len() * (int64)sizeof(TCHAR));
		}
		else
		{
			std::string Bytes = HostConv::ToUtf8(String.GetData(), String.Len());
			Stream->Serialize(Bytes.data(), (int64)Bytes.size());
		}
	}

	/** Writes ASCII text as it is, one CharType unit per character. */
	static inline void WriteString(FArchive* Stream, FAnsiStringView String)
	{
		for (const ANSICHAR Char : String)
		{
			WriteChar(Stream, (CharType)Char);
		}
	}

	/** Writes a float, "%g". */
	static inline void WriteFloat(FArchive* Stream, float Value) { WriteString(Stream, HostJson::FormatFloat(Value)); }

	/** Writes a double, "%.17g" (0.1 gives 0.10000000000000001). */
	static inline void WriteDouble(FArchive* Stream, double Value)
	{
		WriteString(Stream, HostJson::FormatDouble(Value));
	}
};
