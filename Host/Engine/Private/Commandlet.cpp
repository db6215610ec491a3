// The commandlet base class of the stand-in.
#include "Commandlets/Commandlet.h"

UCommandlet::UCommandlet(const FObjectInitializer& ObjectInitializer)
	: UObject(ObjectInitializer)
	, IsServer(true)
	, IsClient(true)
	, IsEditor(true)
	, LogToConsole(false)
	, ShowErrorCount(true)
	, ShowProgress(true)
	, UseCommandletResultAsExitCode(false)
	, FastExit(false)
{
}

void UCommandlet::ParseCommandLine(const TCHAR* CmdLine, TArray<FString>& Tokens, TArray<FString>& Switches)
{
	TMap<FString, FString> Params;
	ParseCommandLine(CmdLine, Tokens, Switches, Params);
}

void UCommandlet::ParseCommandLine(const TCHAR* CmdLine, TArray<FString>& Tokens, TArray<FString>& Switches,
	TMap<FString, FString>& Params)
{
	FString Token;
	const TCHAR* Stream = CmdLine;
	while (FParse::Token(Stream, Token, false))
	{
		if (Token.StartsWith(TEXT("-")))
		{
			const FString Switch = Token.RightChop(1);
			Switches.Add(Switch);
			FString Key;
			FString Value;
			if (Switch.Split(TEXT("="), &Key, &Value))
			{
				Params.Add(Key, Value.TrimQuotes());
			}
		}
		else
		{
			Tokens.Add(Token);
		}
	}
}
