// Stand-in for the engine's Misc/Parse.h: reading switches out of a command line.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

struct FParse
{
	/**
	 * Finds Match anywhere in Stream (ignoring case, skipping quoted text) and reads the value after it: a quoted value
	 * up to the next quote with its spaces, else up to whitespace (and ',' or ')' when bShouldStopOnSeparator).
	 */
	static bool Value(const TCHAR* Stream, const TCHAR* Match, FString& Value, bool bShouldStopOnSeparator = true,
		const TCHAR** OptStreamGotTo = nullptr);
	/** As above into a buffer of MaxLen characters (terminator included); a longer value is cut. */
	static bool Value(const TCHAR* Stream, const TCHAR* Match, TCHAR* Value, int32 MaxLen,
		bool bShouldStopOnSeparator = true, const TCHAR** OptStreamGotTo = nullptr);
	/** Numbers read as the C library would from the text after Match ("12.9" gives 12 for integers). */
	static bool Value(const TCHAR* Stream, const TCHAR* Match, int32& Value);
	static bool Value(const TCHAR* Stream, const TCHAR* Match, uint32& Value);
	static bool Value(const TCHAR* Stream, const TCHAR* Match, int64& Value);
	static bool Value(const TCHAR* Stream, const TCHAR* Match, float& Value);
	static bool Value(const TCHAR* Stream, const TCHAR* Match, double& Value);
	/** The value after Match read as a boolean (True/Yes/On or a non-zero number). */
	static bool Bool(const TCHAR* Stream, const TCHAR* Match, bool& OnOff);
	/** A whole token "-Param" or "/Param", any case. */
	static bool Param(const TCHAR* Stream, const TCHAR* Param);
	/** Reads the next whitespace-separated token (quotes group) and moves Stream past it. */
	static bool Token(const TCHAR*& Stream, FString& Arg, bool bUseEscape);
	/** True when Stream starts with the word Match (ignoring case) followed by a non-word character; moves past it. */
	static bool Command(const TCHAR** Stream, const TCHAR* Match, bool bParseMightTriggerExecution = true);
	/** Reads up to the end of the line (or of the text) and moves past the line break. */
	static bool Line(const TCHAR** Stream, FString& Result, bool bExact = false);
};
