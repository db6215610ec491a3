// The stand-in's engine state: the open project, the settings file names derived from it, GConfig's life, the command
// line, exit requests and the record of launched URLs.
#include "HostEngine.h"

#include "CoreGlobals.h"
#include "HAL/PlatformMisc.h"
#include "HostCorePrivate.h"
#include "Misc/App.h"
#include "Misc/CommandLine.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/Parse.h"
#include "Misc/Paths.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <unistd.h>

FConfigCacheIni* GConfig = nullptr;
FString GEditorSettingsIni;
FString GEditorPerProjectIni;
FString GEngineIni;
FString GEditorIni;

namespace
{
struct FProjectState
{
	std::recursive_mutex Lock;
	bool bChosen = false;
	FString Dir;
	FString File;
	bool bStarted = false;
};

FProjectState& Project()
{
	static FProjectState State;
	return State;
}

std::atomic<bool> GExitRequested{false};

/** An absolute directory path ending in '/', relative ones taken from the working directory. */
FString AbsoluteDir(const FString& Dir)
{
	FString Full = FPaths::ConvertRelativePathToFull(HostCore::GetWorkingDir(), Dir);
	if (!Full.EndsWith(TEXT("/"), ESearchCase::CaseSensitive))
	{
		Full += TEXT("/");
	}
	return Full;
}

/** Makes Dir the project (the caller holds the lock): the settings file names follow it. */
void OpenProject(const FString& Dir, const FString& File)
{
	FProjectState& State = Project();
	if (State.bChosen && GConfig != nullptr && !State.Dir.Equals(Dir))
	{
		// Another project's files: write what is pending and forget them.
		GConfig->Flush(true);
	}
	State.bChosen = true;
	State.Dir = Dir;
	State.File = File;
	const FString ConfigDir = Dir + TEXT("Saved/Config/LinuxEditor/");
	GEditorSettingsIni = ConfigDir + TEXT("EditorSettings.ini");
	GEditorPerProjectIni = ConfigDir + TEXT("EditorPerProjectUserSettings.ini");
	GEngineIni = ConfigDir + TEXT("Engine.ini");
	GEditorIni = ConfigDir + TEXT("Editor.ini");
}

void EnsureConfig()
{
	if (GConfig == nullptr)
	{
		GConfig = new FConfigCacheIni();
	}
}
} // namespace

namespace HostCore
{
FString GetProjectDir()
{
	FProjectState& State = Project();
	std::lock_guard<std::recursive_mutex> Guard(State.Lock);
	if (!State.bChosen)
	{
		OpenProject(HostEngine::GetDefaultProjectDir(), FString());
	}
	return State.Dir;
}
} // namespace HostCore

namespace HostEngine
{
void SetProjectFile(const FString& UProjectPath)
{
	const FString File = FPaths::ConvertRelativePathToFull(HostCore::GetWorkingDir(), UProjectPath);
	std::lock_guard<std::recursive_mutex> Guard(Project().Lock);
	OpenProject(AbsoluteDir(FPaths::GetPath(File)), File);
	EnsureConfig();
}

void SetProjectDir(const FString& ProjectDir)
{
	std::lock_guard<std::recursive_mutex> Guard(Project().Lock);
	OpenProject(AbsoluteDir(ProjectDir), FString());
	EnsureConfig();
}

FString GetProjectFile()
{
	FProjectState& State = Project();
	std::lock_guard<std::recursive_mutex> Guard(State.Lock);
	return State.File;
}

FString GetDefaultProjectDir()
{
	const FString FromEnvironment = FPlatformMisc::GetEnvironmentVariable(TEXT("HOST_PROJECT_DIR"));
	if (!FromEnvironment.IsEmpty())
	{
		return AbsoluteDir(FromEnvironment);
	}
	FString Temp = FPlatformMisc::GetEnvironmentVariable(TEXT("TMPDIR"));
	if (Temp.IsEmpty())
	{
		Temp = TEXT("/tmp");
	}
	return AbsoluteDir(Temp / FString::Printf(TEXT("HostProject-%u"), (uint32)getuid()));
}

void Startup(const FString& CommandLine)
{
	FCommandLine::Set(*CommandLine);
	const TCHAR* Stream = *CommandLine;
	FString FirstToken;
	FParse::Token(Stream, FirstToken, false);
	FString ProjectSwitch;
	std::lock_guard<std::recursive_mutex> Guard(Project().Lock);
	if (!FirstToken.StartsWith(TEXT("-")) && FirstToken.EndsWith(TEXT(".uproject")))
	{
		SetProjectFile(FirstToken);
	}
	else if (FParse::Value(*CommandLine, TEXT("-project="), ProjectSwitch))
	{
		if (ProjectSwitch.EndsWith(TEXT(".uproject")))
		{
			SetProjectFile(ProjectSwitch);
		}
		else
		{
			SetProjectDir(ProjectSwitch);
		}
	}
	else if (!Project().bChosen)
	{
		OpenProject(GetDefaultProjectDir(), FString());
	}
	EnsureConfig();
	GExitRequested = false;
	Project().bStarted = true;
}

void Shutdown()
{
	std::lock_guard<std::recursive_mutex> Guard(Project().Lock);
	if (GConfig != nullptr)
	{
		GConfig->Flush(false);
		delete GConfig;
		GConfig = nullptr;
	}
	Project().bStarted = false;
}

bool IsStarted()
{
	std::lock_guard<std::recursive_mutex> Guard(Project().Lock);
	return Project().bStarted;
}

bool IsExitRequested()
{
	return GExitRequested;
}

void ClearExitRequest()
{
	GExitRequested = false;
}
} // namespace HostEngine

void FPlatformMisc::RequestExit(bool Force)
{
	if (Force)
	{
		// As the engine's forced exit: no orderly shut-down, settings not written.
		std::_Exit(0);
	}
	GExitRequested = true;
}

FString FApp::GetProjectName()
{
	const FString File = HostEngine::GetProjectFile();
	return File.IsEmpty() ? FPaths::GetPathLeaf(FPaths::ProjectDir()) : FPaths::GetBaseFilename(File);
}

bool FApp::IsUnattended()
{
	return FParse::Param(FCommandLine::Get(), TEXT("unattended"));
}
