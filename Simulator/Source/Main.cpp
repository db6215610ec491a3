// tarvoline-sim: serves a local Tarvoline API on 127.0.0.1 until SIGTERM or SIGINT.

#include "Log.h"
#include "Options.h"
#include "Persistence.h"
#include "SimServer.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <pthread.h>
#include <string>
#include <vector>

int main(int Argc, char** Argv)
{
	tvsim::ServerOptions Options;
	std::string Message;
	bool Help = false;
	if (!tvsim::ParseCommandLine(std::vector<std::string>(Argv + 1, Argv + Argc), Options, Message, Help))
	{
		std::fputs(Message.c_str(), Help ? stdout : stderr);
		return Help ? 0 : 2;
	}
	if (!Options.LogFile.empty())
	{
		tvsim::SetLogFile(Options.LogFile);
	}

	// Block the stop signals in every thread (the server's threads inherit this mask) and take
	// them synchronously below, so the stop runs in plain code rather than in a handler.
	sigset_t StopSignals;
	sigemptyset(&StopSignals);
	sigaddset(&StopSignals, SIGTERM);
	sigaddset(&StopSignals, SIGINT);
	pthread_sigmask(SIG_BLOCK, &StopSignals, nullptr);

	tvsim::SimServer Server(Options);
	const int Port = Server.Start();
	if (Port < 0)
	{
		tvsim::LogLine("cannot listen on 127.0.0.1:" + std::to_string(Options.Port));
		return 1;
	}
	if (!Options.PortFile.empty())
	{
		std::string Error;
		if (!tvsim::WriteFileAtomically(Options.PortFile, std::to_string(Port) + "\n", &Error))
		{
			tvsim::LogLine("cannot write the port file: " + Error);
			Server.Stop();
			return 1;
		}
	}
	for (const char* Family : {"humanoid", "quadruped", "bird", "frog"})
	{
		const auto Model = std::filesystem::path(Options.ModelsDir) / (std::string(Family) + "_anim.fbx");
		if (!std::filesystem::exists(Model))
		{
			tvsim::LogLine("warning: " + Model.string() + " is missing; downloads for that family will answer 404");
		}
	}
	tvsim::LogLine("listening on http://127.0.0.1:" + std::to_string(Port) + (Options.AllowControl ? " (control on)" : "") +
				   (Options.DataDir.empty() ? ", state in memory" : ", state in " + Options.DataDir));

	int Signal = 0;
	sigwait(&StopSignals, &Signal);
	tvsim::LogLine(std::string("stopping on ") + (Signal == SIGINT ? "SIGINT" : "SIGTERM"));
	Server.Stop();
	tvsim::LogLine("stopped");
	return 0;
}
