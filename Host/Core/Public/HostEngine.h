// The stand-in's own control of its engine (no engine counterpart): which project is open, start-up and shut-down of
// the core (command line, settings files, GConfig), and what the desktop was asked to open.
#pragma once

#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "CoreTypes.h"

namespace HostEngine
{
/**
 * Opens the project whose descriptor is UProjectPath (a .uproject file, which need not exist): its directory becomes
 * FPaths::ProjectDir(), the settings file names (GEditorSettingsIni and friends, under Saved/Config/LinuxEditor/) are
 * set from it, and GConfig is created if it does not exist yet. Relative paths are taken from the working directory.
 */
void SetProjectFile(const FString& UProjectPath);
/** As SetProjectFile, for a project directory without a descriptor. */
void SetProjectDir(const FString& ProjectDir);
/** The descriptor given to SetProjectFile, absolute; "" when the project was given as a directory. */
FString GetProjectFile();
/**
 * The project directory used when none was set: $HOST_PROJECT_DIR when that is set, else
 * $TMPDIR/HostProject-<uid>/ (TMPDIR defaulting to /tmp). Absolute and ending in '/'.
 */
FString GetDefaultProjectDir();

/**
 * Starts the core: sets FCommandLine to CommandLine; opens the project named by its first token when that ends in
 * ".uproject" or by -project=<path>, else keeps the project already set, else opens the default project; creates
 * GConfig.
 */
void Startup(const FString& CommandLine);
/** Writes every settings file with unsaved changes, deletes GConfig (null afterwards) and ends the core's run. */
void Shutdown();
bool IsStarted();

/** True once FPlatformMisc::RequestExit(false) was called. */
bool IsExitRequested();
void ClearExitRequest();

/**
 * Every URL handed to FPlatformProcess::LaunchURL since the last ClearLaunchedUrls, oldest first. Nothing is opened
 * unless the environment has HOST_LAUNCH_URLS=1, in which case each URL is also passed to xdg-open.
 */
TArray<FString> GetLaunchedUrls();
void ClearLaunchedUrls();
} // namespace HostEngine
