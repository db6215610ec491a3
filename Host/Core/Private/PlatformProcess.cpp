// Process facts, sleeping, and URL launching, which the stand-in records instead of opening a browser from tests.
#include "HAL/PlatformProcess.h"

#include "HAL/PlatformMisc.h"
#include "HostCorePrivate.h"
#include "HostEngine.h"
#include "HostTimeDilation.h"
#include "Logging/LogMacros.h"

#include <chrono>
#include <climits>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace
{
std::mutex& LaunchedLock()
{
	static std::mutex Lock;
	return Lock;
}

TArray<FString>& LaunchedUrls()
{
	static TArray<FString> Urls;
	return Urls;
}

FString WithTrailingSlash(FString Dir)
{
	if (!Dir.EndsWith(TEXT("/"), ESearchCase::CaseSensitive))
	{
		Dir += TEXT("/");
	}
	return Dir;
}

FString HomeDir()
{
	const FString Home = FPlatformMisc::GetEnvironmentVariable(TEXT("HOME"));
	return WithTrailingSlash(Home.IsEmpty() ? FString(TEXT("/tmp")) : Home);
}

/** Starts xdg-open on the URL and reaps it on a thread of its own, so that the caller returns at once. */
void OpenWithDesktop(const FString& URL)
{
	const std::string Native = HostCore::ToNative(URL);
	std::thread(
		[Native]()
		{
			pid_t Child = 0;
			char Program[] = "xdg-open";
			char* Argv[] = {Program, const_cast<char*>(Native.c_str()), nullptr};
			if (posix_spawnp(&Child, Program, nullptr, nullptr, Argv, environ) == 0)
			{
				int Status = 0;
				waitpid(Child, &Status, 0);
			}
		})
		.detach();
}
} // namespace

void FPlatformProcess::Sleep(float Seconds)
{
	SleepNoStats(Seconds);
}

void FPlatformProcess::SleepNoStats(float Seconds)
{
	if (Seconds > 0.0f)
	{
		// Measured on the platform clock, which tests may run faster than the wall clock.
		std::this_thread::sleep_for(std::chrono::duration<double>(Seconds / HostPlatformClock::GetScale()));
	}
	else
	{
		std::this_thread::yield();
	}
}

const TCHAR* FPlatformProcess::BaseDir()
{
	static const FString Dir = []()
	{
		const FString Executable(ExecutablePath());
		const FString Path =
			Executable.Contains(TEXT("/"))
				? Executable.Left(Executable.Find(TEXT("/"), ESearchCase::CaseSensitive, ESearchDir::FromEnd))
				: FString();
		return Path.IsEmpty() ? HostCore::GetWorkingDir() : WithTrailingSlash(Path);
	}();
	return *Dir;
}

const TCHAR* FPlatformProcess::UserDir()
{
	static const FString Dir = HomeDir() + TEXT("Documents/");
	return *Dir;
}

const TCHAR* FPlatformProcess::UserSettingsDir()
{
	static const FString Dir = []()
	{
		const FString Config = FPlatformMisc::GetEnvironmentVariable(TEXT("XDG_CONFIG_HOME"));
		return Config.IsEmpty() ? HomeDir() + TEXT(".config/") : WithTrailingSlash(Config);
	}();
	return *Dir;
}

const TCHAR* FPlatformProcess::UserTempDir()
{
	static const FString Dir = []()
	{
		const FString Temp = FPlatformMisc::GetEnvironmentVariable(TEXT("TMPDIR"));
		return WithTrailingSlash(Temp.IsEmpty() ? FString(TEXT("/tmp")) : Temp);
	}();
	return *Dir;
}

const TCHAR* FPlatformProcess::ExecutablePath()
{
	static const FString Path = []()
	{
		char Buffer[PATH_MAX];
		const ssize_t Len = readlink("/proc/self/exe", Buffer, sizeof(Buffer) - 1);
		return Len > 0 ? HostCore::FromNative(std::string(Buffer, (SIZE_T)Len)) : FString();
	}();
	return *Path;
}

uint32 FPlatformProcess::GetCurrentProcessId()
{
	return (uint32)getpid();
}

void FPlatformProcess::LaunchURL(const TCHAR* URL, const TCHAR* Parms, FString* Error)
{
	check(URL != nullptr);
	(void)Parms;
	if (Error)
	{
		Error->Empty();
	}
	{
		std::lock_guard<std::mutex> Guard(LaunchedLock());
		LaunchedUrls().Add(FString(URL));
	}
	UE_LOG(LogCore, Log, TEXT("LaunchURL %s"), URL);
	if (FPlatformMisc::GetEnvironmentVariable(TEXT("HOST_LAUNCH_URLS")) == TEXT("1"))
	{
		OpenWithDesktop(FString(URL));
	}
}

bool FPlatformProcess::CanLaunchURL(const TCHAR* URL)
{
	return URL != nullptr && *URL != 0;
}

namespace HostEngine
{
TArray<FString> GetLaunchedUrls()
{
	std::lock_guard<std::mutex> Guard(LaunchedLock());
	return LaunchedUrls();
}

void ClearLaunchedUrls()
{
	std::lock_guard<std::mutex> Guard(LaunchedLock());
	LaunchedUrls().Empty();
}
} // namespace HostEngine
