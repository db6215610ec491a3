// The command line lives in fixed buffers, as in the engine, so that pointers from Get() stay valid until the next Set.
#include "Misc/CommandLine.h"

#include "Containers/StringConv.h"
#include "Misc/CString.h"

namespace
{
constexpr int32 MaxCommandLineSize = 16384;
TCHAR GCommandLine[MaxCommandLineSize] = {};
TCHAR GOriginalCommandLine[MaxCommandLineSize] = {};
bool GIsCommandLineInitialized = false;

/** Copies as much of Source as fits; false when it was cut. */
bool CopyInto(TCHAR* Dest, int32 Start, const TCHAR* Source)
{
	int32 Index = Start;
	for (; Source && *Source && Index < MaxCommandLineSize - 1; ++Source, ++Index)
	{
		Dest[Index] = *Source;
	}
	Dest[Index] = 0;
	return Source == nullptr || *Source == 0;
}
} // namespace

const TCHAR* FCommandLine::Get()
{
	return GCommandLine;
}

const TCHAR* FCommandLine::GetOriginal()
{
	return GOriginalCommandLine;
}

bool FCommandLine::IsInitialized()
{
	return GIsCommandLineInitialized;
}

bool FCommandLine::Set(const TCHAR* NewCommandLine)
{
	const bool bWhole = CopyInto(GCommandLine, 0, NewCommandLine);
	CopyInto(GOriginalCommandLine, 0, NewCommandLine);
	GIsCommandLineInitialized = true;
	return bWhole;
}

void FCommandLine::Append(const TCHAR* AppendString)
{
	CopyInto(GCommandLine, FCString::Strlen(GCommandLine), AppendString);
}

FString FCommandLine::BuildFromArgV(const TCHAR* Prefix, int32 ArgC, char** ArgV, const TCHAR* Suffix)
{
	FString Result = Prefix ? FString(Prefix) : FString();
	for (int32 Index = 1; Index < ArgC; ++Index)
	{
		FString Argument(FUTF8ToTCHAR(ArgV[Index]).Get());
		if (Argument.Contains(TEXT(" ")))
		{
			// The shell removed the quotes; put them back around the value, where FParse::Value looks for them.
			int32 Equals = INDEX_NONE;
			if (Argument.StartsWith(TEXT("-")) && Argument.FindChar('=', Equals))
			{
				Argument = Argument.Left(Equals + 1) + TEXT("\"") + Argument.Mid(Equals + 1) + TEXT("\"");
			}
			else
			{
				Argument = TEXT("\"") + Argument + TEXT("\"");
			}
		}
		if (!Result.IsEmpty())
		{
			Result += TEXT(" ");
		}
		Result += Argument;
	}
	if (Suffix && *Suffix)
	{
		Result += TEXT(" ");
		Result += Suffix;
	}
	return Result;
}
