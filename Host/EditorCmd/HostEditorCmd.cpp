// HostEditor-Cmd: the stand-in's command-line editor. It opens a project, finds the commandlet named by -run= as the
// engine does (the class named by the token, else the token + "Commandlet", any case), runs its Main with the rest
// of the command line, and exits with Main's result.
//
//   HostEditor-Cmd <path/to/Project.uproject> -run=<Name> [switches...]
#include "Commandlets/Commandlet.h"
#include "CoreMinimal.h"
#include "HAL/PlatformProcess.h"
#include "HAL/PlatformTime.h"
#include "Framework/Application/SlateApplication.h"
#include "HostEngine.h"
#include "HostTimeDilation.h"
#include "HostToolMenus.h"
#include "HttpManager.h"
#include "HttpModule.h"
#include "Misc/OutputDevice.h"
#include "Modules/ModuleManager.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UObjectHash.h"
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace
{
/** Counts errors logged while the commandlet runs, for the engine's error-count exit rule. */
class FErrorCounter final : public FOutputDevice
{
public:
	FErrorCounter() { GLog->AddOutputDevice(this); }
	~FErrorCounter() override { GLog->RemoveOutputDevice(this); }
	void Serialize(const TCHAR*, ELogVerbosity::Type Verbosity, const FName&) override
	{
		if ((Verbosity & ELogVerbosity::VerbosityMask) <= ELogVerbosity::Error)
		{
			++Errors;
		}
	}
	int32 Errors = 0;
};

/** One argument as the engine's Linux launcher puts it on the command line: values with spaces stay quoted. */
FString QuoteArgument(const FString& Arg)
{
	const bool bHasSpace = Arg.Contains(TEXT(" ")) || Arg.Contains(TEXT("\t"));
	if (!bHasSpace || Arg.StartsWith(TEXT("\"")))
	{
		return Arg;
	}
	int32 Equals = INDEX_NONE;
	if (Arg.FindChar('=', Equals) && Arg.Left(Equals).StartsWith(TEXT("-")) && !Arg.Left(Equals).Contains(TEXT(" ")))
	{
		return Arg.Left(Equals + 1) + TEXT("\"") + Arg.Mid(Equals + 1) + TEXT("\"");
	}
	return TEXT("\"") + Arg + TEXT("\"");
}

/** How long requests a commandlet left in flight may still take at exit before they are dropped. */
constexpr double ExitGraceSeconds = 5.0;

/**
 * A commandlet may return while a request it sent is still under way: a road that stops early does not wait for an
 * answer it no longer needs. Such a request is still carried out. Before the modules go, the HTTP manager is ticked
 * for a short grace so that what is in flight reaches the service and completes (its callbacks then run after Main
 * has returned); whatever is still running after the grace is dropped unanswered when the HTTP module goes.
 */
void FinishRequestsInFlight(double GraceSeconds)
{
	FHttpManager& Manager = FHttpModule::Get().GetHttpManager();
	const double Deadline = FPlatformTime::Seconds() + GraceSeconds;
	while (Manager.GetNumOutstandingRequests() > 0 && FPlatformTime::Seconds() < Deadline)
	{
		Manager.Tick(0.01f);
		FPlatformProcess::Sleep(0.01f);
	}
}

UClass* FindCommandlet(const FString& Token)
{
	TArray<UObject*> Classes;
	GetObjectsOfClass(UClass::StaticClass(), Classes, true);
	const FString WithSuffix = Token + TEXT("Commandlet");
	UClass* Found = nullptr;
	for (UObject* Object : Classes)
	{
		UClass* Class = static_cast<UClass*>(Object);
		if (!Class->IsChildOf(UCommandlet::StaticClass()) || Class == UCommandlet::StaticClass())
		{
			continue;
		}
		const FString Name = Class->GetName();
		if (Name.Equals(Token, ESearchCase::IgnoreCase))
		{
			return Class;
		}
		if (Name.Equals(WithSuffix, ESearchCase::IgnoreCase))
		{
			Found = Class;
		}
	}
	return Found;
}
}

int main(int Argc, char** Argv)
{
	if (Argc < 2)
	{
		std::fprintf(stderr, "usage: HostEditor-Cmd <path/to/Project.uproject> -run=<Commandlet> [switches...]\n");
		return 1;
	}

	// The project path is taken from the working directory, as a shell user expects.
	std::error_code Ignored;
	const std::filesystem::path ProjectPath = std::filesystem::absolute(Argv[1], Ignored);
	FString CommandLine = TEXT("\"") + FString(UTF8_TO_TCHAR(ProjectPath.c_str())) + TEXT("\"");
	FString Params;
	FString RunToken;
	for (int Index = 2; Index < Argc; ++Index)
	{
		const FString Arg = QuoteArgument(FString(UTF8_TO_TCHAR(Argv[Index])));
		CommandLine += TEXT(" ") + Arg;
		if (Arg.StartsWith(TEXT("-run="), ESearchCase::IgnoreCase))
		{
			RunToken = Arg.RightChop(5);
			continue;
		}
		Params += Params.IsEmpty() ? Arg : TEXT(" ") + Arg;
	}

	// Tests let a commandlet's long waits pass quickly by running its clock faster than the wall clock.
	if (const char* ClockScale = std::getenv("TARVOLINE_HOST_CLOCK_SCALE"))
	{
		HostPlatformClock::SetScale(std::atof(ClockScale));
	}

	HostEngine::Startup(CommandLine);
	if (!std::filesystem::exists(ProjectPath))
	{
		UE_LOG(LogInit, Error, TEXT("Could not find the project %s."), UTF8_TO_TCHAR(ProjectPath.c_str()));
		HostEngine::Shutdown();
		return 1;
	}
	// A commandlet runs without the editor's UI: no Slate application, and tool menus never finish starting, so
	// modules' menu start-up callbacks do not run.
	HostToolMenus::SetUIEnabled(false);
	FSlateApplication::Shutdown();

	// The editor loads the plug-in's editor module (loading phase Default) before any commandlet runs.
	if (FModuleManager::Get().ModuleExists(TEXT("TarvolineEditor")))
	{
		FModuleManager::Get().LoadModule(TEXT("TarvolineEditor"));
	}

	RunToken = RunToken.TrimQuotes();
	if (RunToken.IsEmpty())
	{
		UE_LOG(LogInit, Error, TEXT("No commandlet to run: add -run=<Name>."));
		HostEngine::Shutdown();
		return 1;
	}
	UClass* CommandletClass = FindCommandlet(RunToken);
	if (CommandletClass == nullptr)
	{
		UE_LOG(LogInit, Error, TEXT("%s looked like a commandlet, but we could not find the class."), *RunToken);
		HostEngine::Shutdown();
		return 1;
	}

	UCommandlet* Commandlet = NewObject<UCommandlet>(GetTransientPackage(), CommandletClass);
	int32 Result = 0;
	int32 Errors = 0;
	{
		FErrorCounter Counter;
		Result = Commandlet->Main(Params);
		Errors = Counter.Errors;
	}
	FinishRequestsInFlight(ExitGraceSeconds);
	if (Result == 0 && Errors > 0 && Commandlet->ShowErrorCount && !Commandlet->UseCommandletResultAsExitCode)
	{
		Result = 1;
	}

	FModuleManager::Get().UnloadModulesAtShutdown();
	HostEngine::Shutdown();
	return Result;
}
