// The stand-in's automation runner: starts the host engine on a scratch project, optionally starts the local
// service, runs the registered automation tests whose names start with the given prefixes, prints one line per test
// and a closing "N passed, N failed" line, and exits non-zero when any test failed.
//
//   TarvolineAutomation [--list] [--exact] [--simulator <tarvoline-sim>] [--project <dir>] [Prefix ...]
#include "CoreMinimal.h"
#include "HostEngine.h"
#include "HostEditorLoop.h"
#include "Misc/AutomationTest.h"
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{
std::string Narrow(const FString& Text)
{
	return std::string(FTCHARToUTF8(*Text).Get());
}

/** A local service process owned by this run: started on a free port, stopped at exit. */
class FSimulatorProcess
{
public:
	bool Start(const std::string& Binary, const std::filesystem::path& WorkDir)
	{
		const std::filesystem::path PortFile = WorkDir / "sim.port";
		const std::filesystem::path DataDir = WorkDir / "sim-data";
		const std::filesystem::path LogFile = WorkDir / "sim.log";
		std::filesystem::create_directories(DataDir);
		const char* TimeScale = std::getenv("TARVOLINE_SIM_TIME_SCALE");
		const std::string Scale = TimeScale ? TimeScale : "0.02";
		const pid_t RunnerPid = getpid();
		Pid = fork();
		if (Pid == 0)
		{
			// A runner that is killed (ctest's timeout, a signal) never reaches Stop: the service goes with it. A runner
			// that died before the signal was armed has already left this child to another parent.
			prctl(PR_SET_PDEATHSIG, SIGTERM);
			if (getppid() != RunnerPid)
			{
				_exit(127);
			}
			FILE* Log = std::freopen(LogFile.c_str(), "w", stderr);
			(void)Log;
			execl(Binary.c_str(), Binary.c_str(), "--port", "0", "--port-file", PortFile.c_str(), "--data", DataDir.c_str(),
				"--time-scale", Scale.c_str(), "--allow-control", (char*)nullptr);
			_exit(127);
		}
		if (Pid < 0)
		{
			return false;
		}
		for (int Attempt = 0; Attempt < 500; ++Attempt)
		{
			std::ifstream In(PortFile);
			int Port = 0;
			if (In >> Port && Port > 0)
			{
				BaseUrl = "http://127.0.0.1:" + std::to_string(Port);
				return true;
			}
			int Status = 0;
			if (waitpid(Pid, &Status, WNOHANG) == Pid)
			{
				Pid = -1;
				return false;
			}
			std::this_thread::sleep_for(std::chrono::milliseconds(10));
		}
		return false;
	}

	void Stop()
	{
		if (Pid > 0)
		{
			kill(Pid, SIGTERM);
			int Status = 0;
			waitpid(Pid, &Status, 0);
			Pid = -1;
		}
	}

	~FSimulatorProcess() { Stop(); }

	std::string BaseUrl;

private:
	pid_t Pid = -1;
};

} // namespace

int main(int Argc, char** Argv)
{
	bool bList = false;
	bool bExact = false;
	std::string SimulatorBinary;
	std::string ProjectDir;
	std::vector<std::string> Prefixes;
	for (int Index = 1; Index < Argc; ++Index)
	{
		const std::string Arg = Argv[Index];
		if (Arg == "--list")
		{
			bList = true;
		}
		else if (Arg == "--exact")
		{
			bExact = true;
		}
		else if (Arg == "--simulator" && Index + 1 < Argc)
		{
			SimulatorBinary = Argv[++Index];
		}
		else if (Arg == "--project" && Index + 1 < Argc)
		{
			ProjectDir = Argv[++Index];
		}
		else
		{
			Prefixes.push_back(Arg);
		}
	}

	TArray<FAutomationTestBase*> Selected;
	for (FAutomationTestBase* Test : FAutomationTestFramework::Get().HostGetTests())
	{
		const std::string Name = Narrow(Test->GetBeautifiedTestName());
		bool bMatch = Prefixes.empty();
		for (const std::string& Prefix : Prefixes)
		{
			bMatch = bMatch || (bExact ? Name == Prefix : Name.rfind(Prefix, 0) == 0);
		}
		if (bMatch)
		{
			Selected.Add(Test);
		}
	}

	if (bList)
	{
		for (FAutomationTestBase* Test : Selected)
		{
			std::printf("%s\n", Narrow(Test->GetBeautifiedTestName()).c_str());
		}
		return 0;
	}

	// Every run gets a scratch project, so tests never write into the repository.
	char Template[] = "/tmp/tarvoline-automation-XXXXXX";
	const char* Scratch = mkdtemp(Template);
	if (!Scratch)
	{
		std::fprintf(stderr, "Could not make a scratch directory.\n");
		return 2;
	}
	const std::filesystem::path WorkDir(Scratch);
	if (ProjectDir.empty())
	{
		ProjectDir = (WorkDir / "Project").string();
	}
	std::filesystem::create_directories(std::filesystem::path(ProjectDir) / "Content");
	const std::filesystem::path ProjectFile = std::filesystem::path(ProjectDir) / "Scratch.uproject";
	if (!std::filesystem::exists(ProjectFile))
	{
		std::ofstream(ProjectFile) << "{\n\t\"FileVersion\": 3,\n\t\"EngineAssociation\": \"5.3\"\n}\n";
	}

	FSimulatorProcess Simulator;
	if (!SimulatorBinary.empty())
	{
		if (!Simulator.Start(SimulatorBinary, WorkDir))
		{
			std::fprintf(stderr, "Could not start the local service %s.\n", SimulatorBinary.c_str());
			return 2;
		}
		setenv("TARVOLINE_API", Simulator.BaseUrl.c_str(), 1);
		setenv("TARVOLINE_SIM_CONTROL", Simulator.BaseUrl.c_str(), 1);
	}

	HostEngine::SetProjectFile(FString(UTF8_TO_TCHAR(ProjectFile.c_str())));
	HostEngine::Startup(FString());

	int32 Passed = 0;
	int32 Failed = 0;
	for (FAutomationTestBase* Test : Selected)
	{
		const auto Start = std::chrono::steady_clock::now();
		const bool bPassed = FAutomationTestFramework::Get().HostRunTest(Test, &HostEditorLoop::Tick, 600.0);
		const double Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
		for (const FAutomationEvent& Event : Test->HostGetEvents())
		{
			if (Event.Type != FAutomationEvent::EType::Info || !bPassed)
			{
				const char* Kind = Event.Type == FAutomationEvent::EType::Error ? "error" :
					(Event.Type == FAutomationEvent::EType::Warning ? "warning" : "info");
				std::printf("    %s: %s\n", Kind, Narrow(Event.Message).c_str());
			}
		}
		std::printf("%s %s (%.2f s)\n", bPassed ? "PASSED" : "FAILED", Narrow(Test->GetBeautifiedTestName()).c_str(), Seconds);
		std::fflush(stdout);
		(bPassed ? Passed : Failed)++;
	}

	HostEngine::Shutdown();
	Simulator.Stop();
	if (std::getenv("TARVOLINE_KEEP_SCRATCH") == nullptr)
	{
		std::error_code Ignored;
		std::filesystem::remove_all(WorkDir, Ignored);
	}
	std::printf("%d passed, %d failed\n", (int)Passed, (int)Failed);
	return Failed == 0 && (Passed > 0 || !Prefixes.empty()) ? 0 : 1;
}
