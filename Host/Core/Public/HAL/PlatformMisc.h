// Stand-in for the engine's HAL/PlatformMisc.h.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

struct FPlatformMisc
{
	/** "" when the variable is unset or empty. */
	static FString GetEnvironmentVariable(const TCHAR* VariableName);
	static void SetEnvironmentVar(const TCHAR* VariableName, const TCHAR* Value);
	static const TCHAR* GetPlatformName() { return TEXT("Linux"); }
	static int32 NumberOfCores();
	static void RequestExit(bool Force);
};

typedef FPlatformMisc FGenericPlatformMisc;
