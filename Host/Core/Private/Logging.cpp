// The stand-in's log: a redirector fanning lines out to devices, and a console device that decorates lines as the
// engine does ("LogCategory: Verbosity: message"), Display on standard output, warnings and errors on standard error.
#include "Containers/StringConv.h"
#include "CoreGlobals.h"
#include "Logging/LogMacros.h"
#include "Misc/OutputDevice.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

DEFINE_LOG_CATEGORY(LogTemp);
DEFINE_LOG_CATEGORY(LogCore);
DEFINE_LOG_CATEGORY(LogInit);
DEFINE_LOG_CATEGORY(LogHttp);
DEFINE_LOG_CATEGORY(LogJson);

namespace
{
std::recursive_mutex& LogLock()
{
	static std::recursive_mutex Lock;
	return Lock;
}

std::vector<FOutputDevice*>& Devices()
{
	static std::vector<FOutputDevice*> List;
	return List;
}

/** Writes decorated lines to the terminal; Log and more verbose lines stay off it, as in the engine's console. */
class FConsoleOutputDevice final : public FOutputDevice
{
public:
	void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		const ELogVerbosity::Type Level = (ELogVerbosity::Type)(Verbosity & ELogVerbosity::VerbosityMask);
		if (Level > ELogVerbosity::Display && std::getenv("HOST_LOG_ALL") == nullptr)
		{
			return;
		}
		FString Line = Category.ToString() + TEXT(": ");
		if (Level != ELogVerbosity::Log)
		{
			Line += ToString(Level);
			Line += TEXT(": ");
		}
		Line += V;
		Line += TEXT("\n");
		FILE* Stream = Level <= ELogVerbosity::Warning ? stderr : stdout;
		const FTCHARToUTF8 Utf8(*Line, Line.Len());
		std::fwrite(Utf8.Get(), 1, (SIZE_T)Utf8.Length(), Stream);
		std::fflush(Stream);
	}
};

const std::thread::id GGameThreadId = std::this_thread::get_id();
} // namespace

FOutputDeviceRedirector* FOutputDeviceRedirector::Get()
{
	static FOutputDeviceRedirector Redirector;
	static FConsoleOutputDevice Console;
	static bool bConsoleAdded = false;
	if (!bConsoleAdded)
	{
		bConsoleAdded = true;
		Redirector.AddOutputDevice(&Console);
	}
	return &Redirector;
}

void FOutputDeviceRedirector::AddOutputDevice(FOutputDevice* OutputDevice)
{
	std::lock_guard<std::recursive_mutex> Guard(LogLock());
	if (OutputDevice && std::find(Devices().begin(), Devices().end(), OutputDevice) == Devices().end())
	{
		Devices().push_back(OutputDevice);
	}
}

void FOutputDeviceRedirector::RemoveOutputDevice(FOutputDevice* OutputDevice)
{
	std::lock_guard<std::recursive_mutex> Guard(LogLock());
	std::erase(Devices(), OutputDevice);
}

bool FOutputDeviceRedirector::IsRedirectingTo(FOutputDevice* OutputDevice)
{
	std::lock_guard<std::recursive_mutex> Guard(LogLock());
	return std::find(Devices().begin(), Devices().end(), OutputDevice) != Devices().end();
}

void FOutputDeviceRedirector::Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category)
{
	std::lock_guard<std::recursive_mutex> Guard(LogLock());
	const std::vector<FOutputDevice*> Snapshot = Devices();
	for (FOutputDevice* Device : Snapshot)
	{
		Device->Serialize(V, Verbosity, Category);
	}
}

void FOutputDeviceRedirector::Flush()
{
	std::lock_guard<std::recursive_mutex> Guard(LogLock());
	for (FOutputDevice* Device : Devices())
	{
		Device->Flush();
	}
}

FOutputDeviceRedirector* GLog = FOutputDeviceRedirector::Get();

void FMsg::LogString(const ANSICHAR* File, int32 Line, const FName& Category, ELogVerbosity::Type Verbosity, const FString& Message)
{
	FOutputDeviceRedirector::Get()->Serialize(*Message, Verbosity, Category);
	if ((Verbosity & ELogVerbosity::VerbosityMask) == ELogVerbosity::Fatal)
	{
		std::fprintf(stderr, "Fatal error at %s:%d\n", File, (int)Line);
		std::abort();
	}
}

const TCHAR* ToString(ELogVerbosity::Type Verbosity)
{
	switch (Verbosity & ELogVerbosity::VerbosityMask)
	{
		case ELogVerbosity::NoLogging:
			return TEXT("NoLogging");
		case ELogVerbosity::Fatal:
			return TEXT("Fatal");
		case ELogVerbosity::Error:
			return TEXT("Error");
		case ELogVerbosity::Warning:
			return TEXT("Warning");
		case ELogVerbosity::Display:
			return TEXT("Display");
		case ELogVerbosity::Log:
			return TEXT("Log");
		case ELogVerbosity::Verbose:
			return TEXT("Verbose");
		case ELogVerbosity::VeryVerbose:
			return TEXT("VeryVerbose");
	}
	return TEXT("Unknown");
}

bool IsInGameThread()
{
	return std::this_thread::get_id() == GGameThreadId;
}

bool GIsEditor = true;
bool GIsRunningUnattendedScript = false;
uint64 GFrameCounter = 0;
bool GIsAutomationTesting = false;

namespace HostAssert
{
void Fail(const char* Expression, const char* File, int Line, const char* Message)
{
	std::fprintf(stderr, "Assertion failed: %s [File:%s] [Line: %d]%s%s\n", Expression, File, Line, Message ? " " : "",
		Message ? Message : "");
	std::fflush(stderr);
	std::abort();
}

bool Ensure(const char* Expression, const char* File, int Line)
{
	std::fprintf(stderr, "Ensure condition failed: %s [File:%s] [Line: %d]\n", Expression, File, Line);
	return false;
}
} // namespace HostAssert
