// The core's file writing: every whole-file write goes through a temporary file that is flushed and then renamed over
// the target, because a rename is atomic and a write in place is not.
#include "Containers/StringConv.h"
#include "HostCorePrivate.h"
#include "Misc/Guid.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

namespace
{
FString ErrorText(const char* What, int Error)
{
	return FString(What) + TEXT(": ") + FromNative(std::strerror(Error));
}

void SyncDirectory(const std::string& Directory)
{
	const int Descriptor = open(Directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (Descriptor >= 0)
	{
		fsync(Descriptor);
		close(Descriptor);
	}
}
} // namespace

bool WriteFileAtomically(
	const FString& Filename, const FWriteOptions& Options, TFunction<bool(int)> Producer, FString* OutError)
{
	auto Fail = [OutError](FString Message)
	{
		if (OutError)
		{
			*OutError = MoveTemp(Message);
		}
		return false;
	};

	std::string Target = ToNative(Filename);
	if (Target.empty())
	{
		return Fail(TEXT("empty file name"));
	}
	struct stat Existing;
	bool bExists = lstat(Target.c_str(), &Existing) == 0;
	if (bExists && S_ISLNK(Existing.st_mode))
	{
		// Replace what the link points at, not the link itself.
		char Resolved[PATH_MAX];
		if (realpath(Target.c_str(), Resolved) != nullptr)
		{
			Target = Resolved;
			bExists = stat(Target.c_str(), &Existing) == 0;
		}
		else
		{
			bExists = false;
		}
	}
	if (bExists && S_ISDIR(Existing.st_mode))
	{
		return Fail(TEXT("a directory is in the way"));
	}
	if (bExists && Options.bNoReplace)
	{
		return Fail(TEXT("the file exists"));
	}
	if (bExists && !Options.bEvenIfReadOnly && (Existing.st_mode & S_IWUSR) == 0)
	{
		return Fail(TEXT("the file is read-only"));
	}

	const std::string::size_type Slash = Target.find_last_of('/');
	const std::string Directory = Slash == std::string::npos ? std::string(".")
								  : Slash == 0				 ? std::string("/")
															 : Target.substr(0, Slash);
	const std::string Leaf = Slash == std::string::npos ? Target : Target.substr(Slash + 1);
	if (!MakeDirectoryTree(Directory))
	{
		return Fail(ErrorText("cannot create the directory", errno));
	}

	const mode_t Mode = Options.Mode != 0 ? (mode_t)Options.Mode : bExists ? (Existing.st_mode & 07777) : 0;

	if (Options.bAppend)
	{
		const int Descriptor = open(Target.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, Mode != 0 ? Mode : 0666);
		if (Descriptor < 0)
		{
			return Fail(ErrorText("cannot open", errno));
		}
		const bool bWritten = Producer(Descriptor) && fsync(Descriptor) == 0;
		const int WriteError = errno;
		const bool bClosed = close(Descriptor) == 0;
		return bWritten && bClosed ? true : Fail(ErrorText("cannot write", WriteError));
	}

	const std::string Temporary = Directory + "/." + Leaf + ".tmp-" +
								  ToNative(FGuid::NewGuid().ToString(EGuidFormats::DigitsLower)).substr(0, 12);
	// With permissions to set, the file starts private: the content may be secret until fchmod below.
	const int Descriptor = open(Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, Mode != 0 ? 0600 : 0666);
	if (Descriptor < 0)
	{
		return Fail(ErrorText("cannot create a temporary file", errno));
	}
	bool bOk = Producer(Descriptor);
	int Error = errno;
	if (bOk && Mode != 0 && fchmod(Descriptor, Mode) != 0)
	{
		bOk = false;
		Error = errno;
	}
	if (bOk && fsync(Descriptor) != 0)
	{
		bOk = false;
		Error = errno;
	}
	if (close(Descriptor) != 0 && bOk)
	{
		bOk = false;
		Error = errno;
	}
	if (!bOk)
	{
		unlink(Temporary.c_str());
		return Fail(ErrorText("cannot write", Error));
	}

	if (Options.bNoReplace)
	{
		// link() refuses an existing name, so a file that appeared meanwhile is not replaced either.
		if (link(Temporary.c_str(), Target.c_str()) != 0)
		{
			Error = errno;
			unlink(Temporary.c_str());
			return Fail(ErrorText("cannot create", Error));
		}
		unlink(Temporary.c_str());
	}
	else if (rename(Temporary.c_str(), Target.c_str()) != 0)
	{
		Error = errno;
		unlink(Temporary.c_str());
		return Fail(ErrorText("cannot replace", Error));
	}
	SyncDirectory(Directory);
	return true;
}
} // namespace HostCore
