#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tvsim
{
struct ServerOptions
{
	// 0: the system picks a free port (written to PortFile when given).
	int Port = 0;
	std::string PortFile;
	// Empty: state in memory only. Otherwise kept in DataDir/state.json.
	std::string DataDir;
	// Where {humanoid,quadruped,bird,frog}_anim.fbx are served from.
	std::string ModelsDir = TVSIM_DEFAULT_MODELS_DIR;
	// Multiplies every duration of rigs and jobs; 0 makes them finish at once.
	double TimeScale = 1.0;
	bool AllowControl = false;
	std::size_t MaxUploadBytes = 200u * 1024u * 1024u;
	std::string LogFile;
	bool Quiet = false;
	std::size_t Threads = 32;
};

// Reads the command line. On false, Message holds the usage or the error; `Help` tells which.
bool ParseCommandLine(const std::vector<std::string>& Args, ServerOptions& Out, std::string& Message, bool& Help);

std::string Usage();
} // namespace tvsim
