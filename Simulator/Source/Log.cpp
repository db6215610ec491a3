#include "Log.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace tvsim
{
namespace
{
std::mutex LogMutex;
std::FILE* LogFile = nullptr;
} // namespace

void SetLogFile(const std::string& Path)
{
	std::lock_guard Lock(LogMutex);
	if (LogFile)
	{
		std::fclose(LogFile);
		LogFile = nullptr;
	}
	if (!Path.empty())
	{
		LogFile = std::fopen(Path.c_str(), "a");
	}
}

void LogLine(const std::string& Line)
{
	const auto Now = std::chrono::system_clock::now();
	const std::time_t Seconds = std::chrono::system_clock::to_time_t(Now);
	const auto Millis =
		std::chrono::duration_cast<std::chrono::milliseconds>(Now.time_since_epoch()).count() % 1000;
	std::tm Utc{};
	gmtime_r(&Seconds, &Utc);
	char Stamp[32];
	std::strftime(Stamp, sizeof Stamp, "%H:%M:%S", &Utc);

	std::lock_guard Lock(LogMutex);
	std::FILE* Out = LogFile ? LogFile : stderr;
	std::fprintf(Out, "%s.%03d tarvoline-sim %s\n", Stamp, static_cast<int>(Millis), Line.c_str());
	std::fflush(Out);
}
} // namespace tvsim
