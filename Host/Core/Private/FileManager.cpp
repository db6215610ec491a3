// The file manager on POSIX calls. "Read-only" means the owner's write bit is clear, so that it holds for root too.
#include "HAL/FileManager.h"

#include "HostCorePrivate.h"
#include "Logging/LogMacros.h"
#include "Misc/Paths.h"
#include "Serialization/Archive.h"

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

DEFINE_LOG_CATEGORY_STATIC(LogFileManager, Log, All);

/** The engine's generic file writer, unbuffered: each Serialize goes straight to the file. */
/**
 * The engine's generic file writer: small writes gather in a buffer that goes to the file when it is full, on Seek,
 * TotalSize, Flush and Close; a write at least as large as the buffer goes straight to the file. What is still in the
 * buffer is not in the file until then, so a caller that moves or reads the file must Close the writer first.
 */
class FHostFileWriter final : public FArchive
{
public:
	/** As far as we know the size of the engine's default writer buffer. */
	static constexpr int64 BufferSize = 64 * 1024;

	FHostFileWriter(int InDescriptor, const TCHAR* InFilename, uint32 InFlags)
		: Descriptor(InDescriptor)
		, Filename(InFilename)
		, Flags(InFlags)
	{
		SetIsSaving(true);
		SetIsPersistent(true);
		Pos = (int64)lseek(Descriptor, 0, SEEK_CUR);
		Buffer.reserve((size_t)BufferSize);
	}

	~FHostFileWriter() override { Close(); }

	void Serialize(void* V, int64 Length) override
	{
		if (Descriptor < 0 || Length <= 0)
		{
			return;
		}
		Pos += Length;
		const uint8* Source = static_cast<const uint8*>(V);
		if (Length >= BufferSize)
		{
			FlushBuffer();
			WriteLowLevel(Source, Length);
			return;
		}
		while (Length > 0)
		{
			const int64 Copy = std::min<int64>(Length, BufferSize - (int64)Buffer.size());
			Buffer.insert(Buffer.end(), Source, Source + Copy);
			Source += Copy;
			Length -= Copy;
			if ((int64)Buffer.size() == BufferSize)
			{
				FlushBuffer();
			}
		}
	}

	int64 Tell() override { return Pos; }

	int64 TotalSize() override
	{
		FlushBuffer();
		struct stat Info;
		return Descriptor >= 0 && fstat(Descriptor, &Info) == 0 ? (int64)Info.st_size : -1;
	}

	void Seek(int64 InPos) override
	{
		FlushBuffer();
		if (Descriptor < 0 || lseek(Descriptor, (off_t)InPos, SEEK_SET) < 0)
		{
			SetError();
			LogWriteError(TEXT("Error seeking file"));
		}
		Pos = InPos;
	}

	void Flush() override { FlushBuffer(); }

	bool Close() override
	{
		FlushBuffer();
		if (Descriptor >= 0)
		{
			if (close(Descriptor) != 0)
			{
				SetError();
				LogWriteError(TEXT("Error closing file"));
			}
			Descriptor = -1;
		}
		return !IsError();
	}

	FString GetArchiveName() const override { return Filename; }

private:
	void WriteLowLevel(const uint8* Data, int64 Length)
	{
		if (!HostCore::WriteAll(Descriptor, Data, (SIZE_T)Length))
		{
			SetError();
			LogWriteError(TEXT("Error writing to file"));
		}
	}

	void FlushBuffer()
	{
		if (!Buffer.empty() && Descriptor >= 0)
		{
			WriteLowLevel(Buffer.data(), (int64)Buffer.size());
		}
		Buffer.clear();
	}

	void LogWriteError(const TCHAR* Message)
	{
		if (!(Flags & FILEWRITE_Silent))
		{
			UE_LOG(LogFileManager, Error, TEXT("%s: %s (%hs)"), Message, *Filename, std::strerror(errno));
		}
	}

	int Descriptor = -1;
	FString Filename;
	uint32 Flags = 0;
	int64 Pos = 0;
	std::vector<uint8> Buffer;
};

class FHostFileManager final : public IFileManager
{
public:
	FArchive* CreateFileReader(const TCHAR* Filename, uint32 ReadFlags) override
	{
		return HostCore::CreateFileReader(Filename, ReadFlags);
	}

	FArchive* CreateFileWriter(const TCHAR* Filename, uint32 WriteFlags) override
	{
		const std::string Native = ToNative(Filename);
		struct stat Info;
		const bool bExists = !Native.empty() && stat(Native.c_str(), &Info) == 0;
		if (bExists && (WriteFlags & FILEWRITE_NoReplaceExisting))
		{
			return nullptr;
		}
		if (bExists && !S_ISDIR(Info.st_mode) && (Info.st_mode & S_IWUSR) == 0)
		{
			if (!(WriteFlags & FILEWRITE_EvenIfReadOnly))
			{
				return nullptr;
			}
			// As the engine does: the file stops being read-only.
			chmod(Native.c_str(), (Info.st_mode & 07777) | S_IWUSR);
		}
		const int Descriptor = HostCore::OpenForWriting(Native, (WriteFlags & FILEWRITE_Append) != 0);
		if (Descriptor < 0)
		{
			if (WriteFlags & FILEWRITE_NoFail)
			{
				UE_LOG(LogFileManager, Fatal, TEXT("Failed to create file: %s"), Filename);
			}
			return nullptr;
		}
		return new FHostFileWriter(Descriptor, Filename, WriteFlags);
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
		const FString DestDir = FPaths::GetPath(FString(Dest));
		if (!DestDir.IsEmpty())
		{
			HostCore::MakeDirectoryTree(ToNative(DestDir));
		}
		// As the engine's generic file manager does: an existing destination is deleted first and the source renamed
		// after, so for a moment neither name holds the file's content.
		struct stat DestInfo;
		if (lstat(NativeDest.c_str(), &DestInfo) == 0)
		{
			if (!Replace || S_ISDIR(DestInfo.st_mode) || (!EvenIfReadOnly && (DestInfo.st_mode & S_IWUSR) == 0))
			{
				return false;
			}
			if (unlink(NativeDest.c_str()) != 0 && !bDoNotRetryOrError)
			{
				UE_LOG(LogFileManager, Error, TEXT("Error deleting file '%s'."), Dest);
				return false;
			}
		}
		if (rename(NativeSrc.c_str(), NativeDest.c_str()) == 0)
		{
			return true;
		}
		if (errno == EXDEV && !S_ISDIR(Info.st_mode))
		{
			// Another file system: copy, then remove the source.
			if (static_cast<IFileManager*>(this)->Copy(Dest, Src, Replace, EvenIfReadOnly) == COPY_OK &&
				unlink(NativeSrc.c_str()) == 0)
			{
				return true;
			}
		}
		if (!bDoNotRetryOrError)
		{
			// The engine retries for five seconds before it says so; the stand-in says so at once.
			UE_LOG(LogFileManager, Error, TEXT("Error moving file '%s' to '%s'."), Src, Dest);
		}
		return false;
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
		FArchive* Target = CreateFileWriter(
			Dest, (Replace ? 0 : FILEWRITE_NoReplaceExisting) | (EvenIfReadOnly ? FILEWRITE_EvenIfReadOnly : 0));
		bool bCopied = Target != nullptr;
		std::vector<char> Buffer(1 << 20);
		while (bCopied)
		{
			const ssize_t Got = read(Source, Buffer.data(), Buffer.size());
			if (Got == 0)
			{
				break;
			}
			if (Got < 0)
			{
				if (errno == EINTR)
				{
					continue;
				}
				bCopied = false;
				break;
			}
			Target->Serialize(Buffer.data(), (int64)Got);
			bCopied = !Target->IsError();
		}
		if (Target != nullptr)
		{
			bCopied = Target->Close() && bCopied;
			delete Target;
		}
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
