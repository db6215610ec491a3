// Stand-in for the engine's HAL/PlatformProcess.h: sleeping, the process's directories and opening URLs.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

struct FPlatformProcess
{
	/** Blocks the calling thread; nothing ticks meanwhile. */
	static void Sleep(float Seconds);
	static void SleepNoStats(float Seconds);
	/** The directory of the running executable, ending in '/'; relative paths are resolved against it. */
	static const TCHAR* BaseDir();
	/** The user's documents directory ($HOME/Documents/), ending in '/'. */
	static const TCHAR* UserDir();
	/** Where per-user application settings live ($XDG_CONFIG_HOME or $HOME/.config/), ending in '/'. */
	static const TCHAR* UserSettingsDir();
	/** A directory for temporary files ($TMPDIR or /tmp/), ending in '/'. */
	static const TCHAR* UserTempDir();
	/** The file name of the running executable, with or without its directory. */
	static const TCHAR* ExecutablePath();
	static uint32 GetCurrentProcessId();
	/**
	 * Hands URL to the desktop's default handler and returns at once; Parms may be null, Error (cleared) too. The
	 * stand-in only records the URL (see HostEngine::GetLaunchedUrls) unless HOST_LAUNCH_URLS=1 asks for xdg-open.
	 */
	static void LaunchURL(const TCHAR* URL, const TCHAR* Parms, FString* Error);
	static bool CanLaunchURL(const TCHAR* URL);
};

typedef FPlatformProcess FGenericPlatformProcess;
