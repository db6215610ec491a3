// Stand-in for the engine's CoreGlobals.h: the process-wide objects of the core.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"
#include "Misc/OutputDevice.h"

class FConfigCacheIni;

extern FOutputDeviceRedirector* GLog;
/** The settings cache; null until the stand-in's engine starts (HostEngine::Startup). */
extern FConfigCacheIni* GConfig;
/** The per-user editor settings file of the current project (Saved/Config/<Platform>Editor/EditorSettings.ini). */
extern FString GEditorSettingsIni;
extern FString GEditorPerProjectIni;
extern FString GEngineIni;
extern FString GEditorIni;
extern bool GIsEditor;
extern bool GIsRunningUnattendedScript;
extern uint64 GFrameCounter;
extern bool GIsAutomationTesting;

/** True while the current thread is the game thread. */
bool IsInGameThread();
