// Stand-in for the engine's Misc/App.h: facts about the running application.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

class FApp
{
public:
	/** The current project's name: its descriptor's base name, else its directory's name. */
	static FString GetProjectName();
	static const TCHAR* GetName() { return TEXT("HostEditor"); }
	static bool IsGame() { return false; }
	/** True when no one is there to answer dialogs (-unattended on the command line). */
	static bool IsUnattended();
};
