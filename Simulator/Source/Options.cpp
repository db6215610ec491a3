#include "Options.h"

#include <cstdlib>
#include <stdexcept>

namespace tvsim
{
std::string Usage()
{
	return "usage: tarvoline-sim [--port N] [--port-file FILE] [--data DIR] [--models DIR]\n"
		   "                     [--time-scale X] [--allow-control] [--max-upload-bytes N]\n"
		   "                     [--log-file FILE] [--quiet] [--threads N]\n"
		   "  Serves a local Tarvoline API on 127.0.0.1. --port 0 (the default) picks a free port and\n"
		   "  writes it to --port-file. See Simulator/README.md.\n";
}

bool ParseCommandLine(const std::vector<std::string>& Args, ServerOptions& Out, std::string& Message, bool& Help)
{
	Help = false;
	for (std::size_t I = 0; I < Args.size(); ++I)
	{
		std::string Name = Args[I];
		std::string Value;
		bool HasInlineValue = false;
		if (const auto Eq = Name.find('='); Name.rfind("--", 0) == 0 && Eq != std::string::npos)
		{
			Value = Name.substr(Eq + 1);
			Name = Name.substr(0, Eq);
			HasInlineValue = true;
		}
		auto Next = [&]() -> bool {
			if (HasInlineValue)
			{
				return true;
			}
			if (I + 1 >= Args.size())
			{
				Message = Name + " needs a value.\n" + Usage();
				return false;
			}
			Value = Args[++I];
			return true;
		};
		try
		{
			if (Name == "--help" || Name == "-h")
			{
				Help = true;
				Message = Usage();
				return false;
			}
			else if (Name == "--allow-control")
			{
				Out.AllowControl = true;
			}
			else if (Name == "--quiet")
			{
				Out.Quiet = true;
			}
			else if (Name == "--port")
			{
				if (!Next())
				{
					return false;
				}
				const int Port = std::stoi(Value);
				if (Port < 0 || Port > 65535)
				{
					throw std::invalid_argument("port");
				}
				Out.Port = Port;
			}
			else if (Name == "--port-file")
			{
				if (!Next())
				{
					return false;
				}
				Out.PortFile = Value;
			}
			else if (Name == "--data")
			{
				if (!Next())
				{
					return false;
				}
				Out.DataDir = Value;
			}
			else if (Name == "--models")
			{
				if (!Next())
				{
					return false;
				}
				Out.ModelsDir = Value;
			}
			else if (Name == "--time-scale")
			{
				if (!Next())
				{
					return false;
				}
				const double Scale = std::stod(Value);
				if (!(Scale >= 0.0))
				{
					throw std::invalid_argument("scale");
				}
				Out.TimeScale = Scale;
			}
			else if (Name == "--max-upload-bytes")
			{
				if (!Next())
				{
					return false;
				}
				const long long Bytes = std::stoll(Value);
				if (Bytes < 0)
				{
					throw std::invalid_argument("bytes");
				}
				Out.MaxUploadBytes = static_cast<std::size_t>(Bytes);
			}
			else if (Name == "--log-file")
			{
				if (!Next())
				{
					return false;
				}
				Out.LogFile = Value;
			}
			else if (Name == "--threads")
			{
				if (!Next())
				{
					return false;
				}
				const int Threads = std::stoi(Value);
				if (Threads < 2 || Threads > 1024)
				{
					throw std::invalid_argument("threads");
				}
				Out.Threads = static_cast<std::size_t>(Threads);
			}
			else
			{
				Message = "unknown option " + Args[I] + "\n" + Usage();
				return false;
			}
		}
		catch (const std::exception&)
		{
			Message = "bad value for " + Name + ": " + Value + "\n" + Usage();
			return false;
		}
	}
	return true;
}
} // namespace tvsim
