// Stand-in for the engine's Misc/CommandLine.h: the process's command line as one string.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

struct FCommandLine
{
	/** The command line (without the executable); "" until set. The pointer stays valid until the next Set. */
	static const TCHAR* Get();
	/** The command line as first set, before any Append. */
	static const TCHAR* GetOriginal();
	static bool IsInitialized();
	/** Replaces the command line; false if it had to be cut to the engine's maximum length. */
	static bool Set(const TCHAR* NewCommandLine);
	/** Adds text at the end (the caller supplies any separating space). */
	static void Append(const TCHAR* AppendString);
	/** Joins argv[1..] with spaces, quoting an argument that holds a space ("-Key=a b" as -Key="a b"). */
	static FString BuildFromArgV(const TCHAR* Prefix, int32 ArgC, char** ArgV, const TCHAR* Suffix);
};
