// What the benchmarks share: wall-clock and /proc/self/status readings, and the local service for a run.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace Bench
{
using Clock = std::chrono::steady_clock;

/** Seconds of wall time since Start. */
inline double SecondsSince(Clock::time_point Start)
{
	return std::chrono::duration<double>(Clock::now() - Start).count();
}

/** A line of /proc/self/status, in kB (VmRSS: resident now; VmHWM: the peak so far); -1 when missing. */
inline long StatusKb(const char* Field)
{
	std::ifstream Status("/proc/self/status");
	std::string Line;
	const std::string Prefix = std::string(Field) + ":";
	while (std::getline(Status, Line))
	{
		if (Line.rfind(Prefix, 0) == 0)
		{
			return std::strtol(Line.c_str() + Prefix.size(), nullptr, 10);
		}
	}
	return -1;
}
} // namespace Bench

/** The local service for a benchmark run: started on a free loopback port at time scale 0, stopped at the end. */
class FBenchSimulator
{
public:
	FBenchSimulator() = default;
	FBenchSimulator(const FBenchSimulator&) = delete;
	FBenchSimulator& operator=(const FBenchSimulator&) = delete;

	/** Starts Binary with its port and log files in WorkDir and any further options; true once it listens. */
	bool Start(const std::string& Binary, const std::filesystem::path& WorkDir,
		const std::vector<std::string>& MoreOptions = {})
	{
		const std::string PortFile = (WorkDir / "sim.port").string();
		const std::string LogFile = (WorkDir / "sim.log").string();
		std::vector<std::string> Arguments = {Binary, "--port", "0", "--port-file", PortFile, "--time-scale", "0",
			"--allow-control", "--quiet", "--log-file", LogFile};
		Arguments.insert(Arguments.end(), MoreOptions.begin(), MoreOptions.end());
		std::vector<char*> Argv;
		for (std::string& Argument : Arguments)
		{
			Argv.push_back(Argument.data());
		}
		Argv.push_back(nullptr);
		Pid = fork();
		if (Pid == 0)
		{
			execv(Binary.c_str(), Argv.data());
			_exit(127);
		}
		for (int Attempt = 0; Pid > 0 && Attempt < 1000; ++Attempt)
		{
			std::ifstream In(PortFile);
			int Port = 0;
			if (In >> Port && Port > 0)
			{
				Url = "http://127.0.0.1:" + std::to_string(Port);
				return true;
			}
			std::this_thread::sleep_for(std::chrono::milliseconds(10));
		}
		return false;
	}

	~FBenchSimulator()
	{
		if (Pid > 0)
		{
			kill(Pid, SIGTERM);
			int Status = 0;
			waitpid(Pid, &Status, 0);
		}
	}

	/** The service's base URL once started. */
	std::string Url;

private:
	pid_t Pid = -1;
};
