// Stand-in for the engine's Commandlets/Commandlet.h: a program run inside the editor from the command line.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "UObject/ObjectMacros.h"

class UCommandlet : public UObject
{
	HOST_DECLARE_CLASS(UCommandlet, UObject, Engine)

public:
	UCommandlet(const FObjectInitializer& ObjectInitializer = HostObjects::HostObjectInitializer());

	/** One-line description for -help. */
	FString HelpDescription;
	/** Usage for -help. */
	FString HelpUsage;
	FString HelpWebLink;
	TArray<FString> HelpParamNames;
	TArray<FString> HelpParamDescriptions;

	uint32 IsServer : 1;
	uint32 IsClient : 1;
	uint32 IsEditor : 1;
	uint32 LogToConsole : 1;
	/** When set, a result of 0 turns into 1 if any error was logged during Main. */
	uint32 ShowErrorCount : 1;
	uint32 ShowProgress : 1;
	/** When set, Main's result is the exit code even if errors were logged. */
	uint32 UseCommandletResultAsExitCode : 1;
	uint32 FastExit : 1;

	/** The commandlet's work, with the command line that followed -run=; the result is the process's exit code. */
	virtual int32 Main(const FString& /*Params*/) { return 0; }

	/** Splits Params into tokens, switches (without their leading '-') and Name=Value pairs. */
	static void ParseCommandLine(const TCHAR* CmdLine, TArray<FString>& Tokens, TArray<FString>& Switches);
	static void ParseCommandLine(const TCHAR* CmdLine, TArray<FString>& Tokens, TArray<FString>& Switches,
		TMap<FString, FString>& Params);
};
