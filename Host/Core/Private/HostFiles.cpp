// The core's path conversions and its low-level file writing, which works in place as the engine's does.
#include "Containers/StringConv.h"
#include "HostCorePrivate.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace HostCore
{
std::string ToNative(const TCHAR* Path)
{
	if (Path == nullptr)
	{
		return std::string();
	}
	std::string Result = HostConv::ToUtf8(Path, HostConv::TcharLen(Path));
	for (char& Character : Result)
	{
		if (Character == '\\')
		{
			Character = '/';
		}
	}
	return Result;
}

std::string ToNative(const FString& Path)
{
	return ToNative(*Path);
}

FString FromNative(const std::string& Path)
{
	FString Result;
	Result.HostStorage() = HostConv::FromUtf8(Path.data(), (int32)Path.size());
	return Result;
}

FString GetWorkingDir()
{
	char Buffer[PATH_MAX];
	std::string Dir = getcwd(Buffer, sizeof(Buffer)) ? std::string(Buffer) : std::string("/");
	if (Dir.empty() || Dir.back() != '/')
	{
		Dir += '/';
	}
	return FromNative(Dir);
}

bool WriteAll(int Descriptor, const void* Data, SIZE_T Size)
{
	const char* Bytes = (const char*)Data;
	while (Size > 0)
	{
		// Large writes go in pieces: one write() call moves at most about 2 GB on Linux anyway.
		const SIZE_T Piece = Size < ((SIZE_T)1 << 30) ? Size : ((SIZE_T)1 << 30);
		const ssize_t Written = write(Descriptor, Bytes, Piece);
		if (Written < 0)
		{
			if (errno == EINTR)
			{
				continue;
			}
			return false;
		}
		Bytes += Written;
		Size -= (SIZE_T)Written;
	}
	return true;
}

bool MakeDirectoryTree(const std::string& NativePath)
{
	if (NativePath.empty())
	{
		return false;
	}
	struct stat Info;
	if (stat(NativePath.c_str(), &Info) == 0)
	{
		return S_ISDIR(Info.st_mode);
	}
	std::string::size_type Pos = 0;
	while (true)
	{
		Pos = NativePath.find('/', Pos + 1);
		const std::string Partial = NativePath.substr(0, Pos);
		if (!Partial.empty() && mkdir(Partial.c_str(), 0777) != 0 && errno != EEXIST)
		{
			return false;
		}
		if (Pos == std::string::npos)
		{
			break;
		}
	}
	return stat(NativePath.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
}

int OpenForWriting(const std::string& NativePath, bool bAppend)
{
	if (NativePath.empty())
	{
		errno = ENOENT;
		return -1;
	}
	const std::string::size_type Slash = NativePath.find_last_of('/');
	if (Slash != std::string::npos && Slash > 0)
	{
		MakeDirectoryTree(NativePath.substr(0, Slash));
	}
	// No O_TRUNC: the file is emptied only once it is locked, so that another writer's file is never cut short.
	const int Descriptor = open(NativePath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (bAppend ? O_APPEND : 0),
		S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH);
	if (Descriptor < 0)
	{
		return -1;
	}
	if (flock(Descriptor, LOCK_EX | LOCK_NB) != 0 && (errno == EWOULDBLOCK || errno == EAGAIN))
	{
		close(Descriptor);
		errno = EWOULDBLOCK;
		return -1;
	}
	if (!bAppend && ftruncate(Descriptor, 0) != 0)
	{
		const int Error = errno;
		close(Descriptor);
		errno = Error;
		return -1;
	}
	return Descriptor;
}
} // namespace HostCore
