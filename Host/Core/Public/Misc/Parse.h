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
	static bool Value(const TCHAR* Stream, const TCHAR* Match, int32& Value);
	static bool Value(const TCHAR* Stream, const TCHAR* Match, float& Value);
	static bool Value(const TCHAR* Stream, const TCHAR* Match, double& Value);
	static bool Bool(const TCHAR* Stream, const TCHAR* Match, bool& OnOff);
	/** A whole token "-Param" or "/Param", any case. */
	static bool Param(const TCHAR* Stream, const TCHAR* Param);
	/** Reads the next whitespace-separated token (quotes group) and moves Stream past it. */
	static bool Token(const TCHAR*& Stream, FString& Arg, bool bUseEscape);
};
