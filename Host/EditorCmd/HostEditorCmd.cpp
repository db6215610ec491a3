// HostEditor-Cmd: the stand-in's command-line editor. It opens a project, finds the commandlet named by -run= as the
// engine does (the class named by the token, else the token + "Commandlet", any case), runs its Main with the rest
// of the command line, and exits with Main's result.
//
//   HostEditor-Cmd <path/to/Project.uproject> -run=<Name> [switches...]
#include "Commandlets/Commandlet.h"
#include "CoreMinimal.h"
#include "HostEngine.h"
#include "Misc/OutputDevice.h"
#include "Modules/ModuleManager.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UObjectHash.h"
#include <cstdio>
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

	HostEngine::Startup(CommandLine);
	if (!std::filesystem::exists(ProjectPath))
	{
		UE_LOG(LogInit, Error, TEXT("Could not find the project %s."), UTF8_TO_TCHAR(ProjectPath.c_str()));
		HostEngine::Shutdown();
		return 1;
	}
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
	if (Result == 0 && Errors > 0 && Commandlet->ShowErrorCount && !Commandlet->UseCommandletResultAsExitCode)
	{
		Result = 1;
	}

	FModuleManager::Get().UnloadModulesAtShutdown();
	HostEngine::Shutdown();
	return Result;
}
