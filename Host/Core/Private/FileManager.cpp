// The file manager on POSIX calls. "Read-only" means the owner's write bit is clear, so that it holds for root too.
#include "HAL/FileManager.h"

#include "HostCorePrivate.h"
#include "Logging/LogMacros.h"
#include "Misc/Paths.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace
{
using HostCore::ToNative;

bool StatPath(const TCHAR* Path, struct stat& Info)
{
	const std::string Native = ToNative(Path);
	return !Native.empty() && stat(Native.c_str(), &Info) == 0;
}

/** '*' any run, '?' one character; letters compare ignoring case, as the engine's wildcard match does. */
bool MatchesWildcard(const TCHAR* Name, const TCHAR* Pattern)
{
	const TCHAR* StarPattern = nullptr;
	const TCHAR* StarName = nullptr;
	while (*Name != 0)
	{
		if (*Pattern == '*')
		{
			StarPattern = ++Pattern;
			StarName = Name;
		}
		else if (*Pattern == '?' || (*Pattern != 0 && FChar::ToLower(*Pattern) == FChar::ToLower(*Name)))
		{
			++Pattern;
			++Name;
		}
		else if (StarPattern != nullptr)
		{
			Pattern = StarPattern;
			Name = ++StarName;
		}
		else
		{
			return false;
		}
	}
	while (*Pattern == '*')
	{
		++Pattern;
	}
	return *Pattern == 0;
}

/** The entries of a directory, sorted by name so that results do not depend on the file system's order. */
bool ListDirectory(const std::string& Directory, std::vector<std::pair<std::string, bool>>& Entries)
{
	DIR* Handle = opendir(Directory.empty() ? "." : Directory.c_str());
	if (Handle == nullptr)
	{
		return false;
	}
	while (dirent* Entry = readdir(Handle))
	{
		if (std::strcmp(Entry->d_name, ".") == 0 || std::strcmp(Entry->d_name, "..") == 0)
		{
			continue;
		}
		bool bIsDirectory = Entry->d_type == DT_DIR;
		if (Entry->d_type == DT_UNKNOWN || Entry->d_type == DT_LNK)
		{
			struct stat Info;
			const std::string Full = (Directory.empty() ? std::string(".") : Directory) + "/" + Entry->d_name;
			bIsDirectory = stat(Full.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
		}
		Entries.emplace_back(Entry->d_name, bIsDirectory);
	}
	closedir(Handle);
	std::sort(Entries.begin(), Entries.end());
	return true;
}

bool DeleteTree(const std::string& Path)
{
	struct stat Info;
	if (lstat(Path.c_str(), &Info) != 0)
	{
		return errno == ENOENT;
	}
	if (!S_ISDIR(Info.st_mode))
	{
		return unlink(Path.c_str()) == 0;
	}
	std::vector<std::pair<std::string, bool>> Entries;
	if (!ListDirectory(Path, Entries))
	{
		return false;
	}
	bool bOk = true;
	for (const auto& Entry : Entries)
	{
		bOk = DeleteTree(Path + "/" + Entry.first) && bOk;
	}
	return rmdir(Path.c_str()) == 0 && bOk;
}

class FHostFileManager final : public IFileManager
{
public:
	FArchive* CreateFileReader(const TCHAR* Filename, uint32 ReadFlags) override
	{
		return HostCore::CreateFileReader(Filename, ReadFlags);
	}

	bool MakeDirectory(const TCHAR* Path, bool Tree) override
	{
		std::string Native = ToNative(Path);
		while (Native.size() > 1 && Native.back() == '/')
		{
			Native.pop_back();
		}
		if (Native.empty())
		{
			return false;
		}
		if (Tree)
		{
			return HostCore::MakeDirectoryTree(Native);
		}
		struct stat Info;
		return mkdir(Native.c_str(), 0777) == 0 || (stat(Native.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode));
	}

	bool DirectoryExists(const TCHAR* InDirectory) override
	{
		struct stat Info;
		return StatPath(InDirectory, Info) && S_ISDIR(Info.st_mode);
	}

	bool FileExists(const TCHAR* Filename) override
	{
		struct stat Info;
		return StatPath(Filename, Info) && S_ISREG(Info.st_mode);
	}

	int64 FileSize(const TCHAR* Filename) override
	{
		struct stat Info;
		if (!StatPath(Filename, Info) || S_ISDIR(Info.st_mode))
		{
			return INDEX_NONE;
		}
		return (int64)Info.st_size;
	}

	bool IsReadOnly(const TCHAR* Filename) override
	{
		struct stat Info;
		return StatPath(Filename, Info) && (Info.st_mode & S_IWUSR) == 0;
	}

	bool Delete(const TCHAR* Filename, bool RequireExists, bool EvenReadOnly, bool Quiet) override
	{
		struct stat Info;
		const std::string Native = ToNative(Filename);
		if (Native.empty() || lstat(Native.c_str(), &Info) != 0)
		{
			return !RequireExists;
		}
		if (S_ISDIR(Info.st_mode))
		{
			return false;
		}
		if (!EvenReadOnly && !S_ISLNK(Info.st_mode) && (Info.st_mode & S_IWUSR) == 0)
		{
			if (!Quiet)
			{
				UE_LOG(LogCore, Warning, TEXT("Could not delete %s: the file is read-only."), Filename);
			}
			return false;
		}
		if (unlink(Native.c_str()) != 0)
		{
			if (!Quiet)
			{
				UE_LOG(LogCore, Warning, TEXT("Could not delete %s: %hs"), Filename, std::strerror(errno));
			}
			return false;
		}
		return true;
	}

	bool DeleteDirectory(const TCHAR* Path, bool RequireExists, bool Tree) override
	{
		std::string Native = ToNative(Path);
		while (Native.size() > 1 && Native.back() == '/')
		{
			Native.pop_back();
		}
		struct stat Info;
		if (Native.empty() || stat(Native.c_str(), &Info) != 0)
		{
			return !RequireExists;
		}
		if (!S_ISDIR(Info.st_mode))
		{
			return false;
		}
		return Tree ? DeleteTree(Native) : rmdir(Native.c_str()) == 0;
	}

	bool Move(const TCHAR* Dest, const TCHAR* Src, bool Replace, bool EvenIfReadOnly, bool Attributes,
		bool bDoNotRetryOrError) override
	{
		(void)Attributes;
		const std::string NativeDest = ToNative(Dest);
		const std::string NativeSrc = ToNative(Src);
		struct stat Info;
		if (NativeSrc.empty() || NativeDest.empty() || lstat(NativeSrc.c_str(), &Info) != 0)
		{
			return false;
		}
		if (NativeSrc == NativeDest)
		{
			return true;
		}
		struct stat DestInfo;
		if (lstat(NativeDest.c_str(), &DestInfo) == 0)
		{
			if (!Replace || S_ISDIR(DestInfo.st_mode) || (!EvenIfReadOnly && (DestInfo.st_mode & S_IWUSR) == 0))
			{
				return false;
			}
		}
		const FString DestDir = FPaths::GetPath(FString(Dest));
		if (!DestDir.IsEmpty())
		{
			HostCore::MakeDirectoryTree(ToNative(DestDir));
		}
		if (rename(NativeSrc.c_str(), NativeDest.c_str()) == 0)
		{
			return true;
		}
		if (errno != EXDEV || S_ISDIR(Info.st_mode))
		{
			if (!bDoNotRetryOrError)
			{
				UE_LOG(LogCore, Warning, TEXT("Could not move %s to %s: %hs"), Src, Dest, std::strerror(errno));
			}
			return false;
		}
		// Another file system: copy, then remove the source.
		return static_cast<IFileManager*>(this)->Copy(Dest, Src, Replace, EvenIfReadOnly) == COPY_OK &&
			   unlink(NativeSrc.c_str()) == 0;
	}

	uint32 Copy(const TCHAR* Dest, const TCHAR* Src, bool Replace, bool EvenIfReadOnly, bool Attributes,
		FCopyProgress* Progress, EFileRead ReadFlags, EFileWrite WriteFlags) override
	{
		(void)Attributes;
		(void)Progress;
		(void)ReadFlags;
		(void)WriteFlags;
		const std::string NativeSrc = ToNative(Src);
		const int Source = open(NativeSrc.c_str(), O_RDONLY | O_CLOEXEC);
		if (Source < 0)
		{
			return COPY_Fail;
		}
		struct stat Info;
		if (fstat(Source, &Info) != 0 || !S_ISREG(Info.st_mode))
		{
			close(Source);
			return COPY_Fail;
		}
		HostCore::FWriteOptions Options;
		Options.bNoReplace = !Replace;
		Options.bEvenIfReadOnly = EvenIfReadOnly;
		Options.Mode = Info.st_mode & 0777;
		const bool bCopied = HostCore::WriteFileAtomically(FString(Dest), Options,
			[Source](int Target)
			{
				std::vector<char> Buffer(1 << 20);
				while (true)
				{
					const ssize_t Got = read(Source, Buffer.data(), Buffer.size());
					if (Got == 0)
					{
						return true;
					}
					if (Got < 0)
					{
						if (errno == EINTR)
						{
							continue;
						}
						return false;
					}
					if (!HostCore::WriteAll(Target, Buffer.data(), (SIZE_T)Got))
					{
						return false;
					}
				}
			});
		close(Source);
		return bCopied ? COPY_OK : COPY_Fail;
	}

	void FindFiles(TArray<FString>& FileNames, const TCHAR* Filename, bool Files, bool Directories) override
	{
		FString Search(Filename);
		FPaths::NormalizeFilename(Search);
		FString Wildcard = FPaths::GetCleanFilename(Search);
		if (Wildcard == TEXT("*.*"))
		{
			Wildcard = TEXT("*");
		}
		const FString Directory = FPaths::GetPath(Search);
		const std::string NativeDirectory = Directory.IsEmpty()
												? (Search.StartsWith(TEXT("/")) ? std::string("/") : std::string("."))
												: ToNative(Directory);
		std::vector<std::pair<std::string, bool>> Entries;
		if (!ListDirectory(NativeDirectory, Entries))
		{
			return;
		}
		for (const auto& Entry : Entries)
		{
			if ((Entry.second ? Directories : Files))
			{
				const FString Name = HostCore::FromNative(Entry.first);
				if (MatchesWildcard(*Name, *Wildcard))
				{
					FileNames.Add(Name);
				}
			}
		}
	}
	using IFileManager::FindFiles;

	bool IterateDirectory(const TCHAR* Directory, FDirectoryVisitorFunc Visitor) override
	{
		std::string Native = ToNative(Directory);
		while (Native.size() > 1 && Native.back() == '/')
		{
			Native.pop_back();
		}
		std::vector<std::pair<std::string, bool>> Entries;
		if (!ListDirectory(Native, Entries))
		{
			return false;
		}
		const std::string Prefix = Native == "/" ? Native : Native + "/";
		for (const auto& Entry : Entries)
		{
			const FString Full = HostCore::FromNative(Prefix + Entry.first);
			if (!Visitor(*Full, Entry.second))
			{
				return false;
			}
		}
		return true;
	}

	FString ConvertToAbsolutePathForExternalAppForRead(const TCHAR* Filename) override
	{
		return FPaths::ConvertRelativePathToFull(FString(Filename));
	}

	FString ConvertToAbsolutePathForExternalAppForWrite(const TCHAR* Filename) override
	{
		return FPaths::ConvertRelativePathToFull(FString(Filename));
	}
};
} // namespace

IFileManager& IFileManager::Get()
{
	static FHostFileManager Manager;
	return Manager;
}

void IFileManager::FindFiles(TArray<FString>& FoundFiles, const TCHAR* Directory, const TCHAR* FileExtension)
{
	if (Directory == nullptr || *Directory == 0)
	{
		return;
	}
	FString RootDir(Directory);
	FPaths::NormalizeDirectoryName(RootDir);
	FString Extension = FileExtension ? FString(FileExtension) : FString();
	// "*.EXT", "*", "*.*" and "Name.*" are used as given; a bare extension becomes "*.EXT".
	if (!Extension.Contains(TEXT("*")))
	{
		Extension = Extension.IsEmpty()				  ? FString(TEXT("*.*"))
					: Extension.StartsWith(TEXT(".")) ? FString(TEXT("*")) + Extension
													  : FString(TEXT("*.")) + Extension;
	}
	FindFiles(FoundFiles, *(RootDir / Extension), true, false);
}

void IFileManager::FindFilesRecursive(TArray<FString>& FileNames, const TCHAR* StartDirectory, const TCHAR* Filename,
	bool Files, bool Directories, bool bClearFileNames)
{
	if (bClearFileNames)
	{
		FileNames.Empty();
	}
	const FString Start(StartDirectory);
	TArray<FString> Found;
	FindFiles(Found, *(Start / Filename), Files, Directories);
	for (const FString& Name : Found)
	{
		FileNames.Add(Start / Name);
	}
	TArray<FString> SubDirectories;
	FindFiles(SubDirectories, *(Start / TEXT("*")), false, true);
	for (const FString& SubDirectory : SubDirectories)
	{
		FindFilesRecursive(FileNames, *(Start / SubDirectory), Filename, Files, Directories, false);
	}
}

bool IFileManager::IterateDirectoryRecursively(const TCHAR* Directory, FDirectoryVisitorFunc Visitor)
{
	bool bContinue = true;
	IterateDirectory(Directory,
		[this, &Visitor, &bContinue](const TCHAR* Path, bool bIsDirectory)
		{
			bContinue = Visitor(Path, bIsDirectory) && (!bIsDirectory || IterateDirectoryRecursively(Path, Visitor));
			return bContinue;
		});
	return bContinue;
}
