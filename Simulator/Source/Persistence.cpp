#include "Persistence.h"

#include "Ids.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace tvsim
{
bool WriteFileAtomically(const std::string& Path, const std::string& Text, std::string* Error)
{
	const std::string Temp = Path + ".tmp-" + RandomHex(4);
	const int Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
	auto Fail = [&](const char* What) {
		if (Error)
		{
			*Error = std::string(What) + " " + Temp + ": " + std::strerror(errno);
		}
		return false;
	};
	if (Fd < 0)
	{
		return Fail("cannot create");
	}
	std::size_t Written = 0;
	while (Written < Text.size())
	{
		const ssize_t N = ::write(Fd, Text.data() + Written, Text.size() - Written);
		if (N < 0)
		{
			if (errno == EINTR)
			{
				continue;
			}
			::close(Fd);
			::unlink(Temp.c_str());
			return Fail("cannot write");
		}
		Written += static_cast<std::size_t>(N);
	}
	if (::fsync(Fd) != 0 || ::close(Fd) != 0)
	{
		::unlink(Temp.c_str());
		return Fail("cannot flush");
	}
	if (::rename(Temp.c_str(), Path.c_str()) != 0)
	{
		::unlink(Temp.c_str());
		return Fail("cannot rename");
	}
	return true;
}

std::optional<std::string> ReadWholeFile(const std::string& Path)
{
	std::ifstream In(Path, std::ios::binary);
	if (!In)
	{
		return std::nullopt;
	}
	std::ostringstream Out;
	Out << In.rdbuf();
	if (In.bad())
	{
		return std::nullopt;
	}
	return Out.str();
}
} // namespace tvsim
