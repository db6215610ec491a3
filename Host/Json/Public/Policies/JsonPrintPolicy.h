// Stand-in for the engine's Policies/JsonPrintPolicy.h: how a JSON writer puts characters, text and numbers down.
// The engine's policies write to an archive; here they append to the writer's text.
#pragma once

#include "CoreMinimal.h"

namespace HostJson
{
/** Numbers as the engine prints them: "%.17g" for doubles, "%g" for floats. */
FString FormatDouble(double Value);
FString FormatFloat(float Value);
} // namespace HostJson

template <class CharType>
struct TJsonPrintPolicy
{
	/** Appends one character. */
	static void WriteChar(FString* Stream, CharType Char) { Stream->AppendChar((TCHAR)Char); }
	/** Appends text as it is (no quoting or escaping). */
	static void WriteString(FString* Stream, const FString& String) { Stream->Append(String); }
	/** Appends a float, "%g". */
	static void WriteFloat(FString* Stream, float Value) { Stream->Append(HostJson::FormatFloat(Value)); }
	/** Appends a double, "%.17g" (0.1 gives 0.10000000000000001). */
	static void WriteDouble(FString* Stream, double Value) { Stream->Append(HostJson::FormatDouble(Value)); }
};
