// The file reader behind IFileManager::CreateFileReader: an archive over one open file, reading straight from it.
#include "HostCorePrivate.h"

#include "HAL/FileManager.h"
#include "Logging/LogMacros.h"
#include "Serialization/Archive.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

DEFINE_LOG_CATEGORY_STATIC(LogFileManager, Log, All);

namespace
{
/**
 * As the engine's generic file reader: the size is taken once when the file is opened; a read past it fails with an
 * Error line and a short read with a Warning (neither with FILEREAD_Silent), and seeking outside the file stops the
 * process. Reads go straight to the file: the transfers that use it ask for large pieces.
 */
class FHostFileReader final : public FArchive
{
public:
	FHostFileReader(int InDescriptor, const TCHAR* InFilename, int64 InSize, uint32 InFlags)
		: Descriptor(InDescriptor)
		, Filename(InFilename)
		, Size(InSize)
		, Flags(InFlags)
	{
		SetIsLoading(true);
		SetIsPersistent(true);
	}
	~FHostFileReader() override { Close(); }

	void Serialize(void* V, int64 Length) override
	{
		if (Pos + Length > Size)
		{
			SetError();
			if (!IsSilent())
			{
				UE_LOG(LogFileManager, Error,
					TEXT("Requested read of %lld bytes when %lld bytes remain (file=%s, size=%lld)"), (long long)Length,
					(long long)(Size - Pos), *Filename, (long long)Size);
			}
			return;
		}
		uint8* Out = static_cast<uint8*>(V);
		int64 Done = 0;
		while (Descriptor >= 0 && Done < Length)
		{
			const ssize_t Got = read(Descriptor, Out + Done, (SIZE_T)(Length - Done));
			if (Got < 0 && errno == EINTR)
			{
				continue;
			}
			if (Got <= 0)
			{
				break;
			}
			Done += Got;
		}
		Pos += Length;
		if (Done != Length)
		{
			SetError();
			if (!IsSilent())
			{
				UE_LOG(LogFileManager, Warning, TEXT("ReadFile failed: Count=%lld Length=%lld Error=%hs for file %s"),
					(long long)Done, (long long)Length, std::strerror(errno), *Filename);
			}
		}
	}

	int64 Tell() override { return Pos; }
	int64 TotalSize() override { return Size; }

	void Seek(int64 InPos) override
	{
		checkf(InPos >= 0, TEXT("Attempted to seek to a negative location"));
		checkf(InPos <= Size, TEXT("Attempted to seek past the end of file"));
		if (Descriptor < 0 || lseek(Descriptor, (off_t)InPos, SEEK_SET) < 0)
		{
			SetError();
			if (!IsSilent())
			{
				UE_LOG(LogFileManager, Error, TEXT("SetFilePointer on %s Failed %lld/%lld"), *Filename,
					(long long)InPos, (long long)Size);
			}
		}
		Pos = InPos;
	}

	bool Close() override
	{
		if (Descriptor >= 0)
		{
			close(Descriptor);
			Descriptor = -1;
		}
		return !IsError();
	}

	FString GetArchiveName() const override { return Filename; }

private:
	bool IsSilent() const { return (Flags & FILEREAD_Silent) != 0; }

	int Descriptor;
	FString Filename;
	int64 Size;
	int64 Pos = 0;
	uint32 Flags;
};
} // namespace

FArchive* HostCore::CreateFileReader(const TCHAR* Filename, uint32 ReadFlags)
{
	const std::string Native = ToNative(Filename);
	const int Descriptor = Native.empty() ? -1 : open(Native.c_str(), O_RDONLY | O_CLOEXEC);
	struct stat Info;
	if (Descriptor >= 0 && (fstat(Descriptor, &Info) != 0 || S_ISDIR(Info.st_mode)))
	{
		close(Descriptor);
		return nullptr;
	}
	if (Descriptor < 0)
	{
		if (ReadFlags & FILEREAD_NoFail)
		{
			UE_LOG(LogFileManager, Fatal, TEXT("Failed to read file: %s"), Filename);
		}
		return nullptr;
	}
	return new FHostFileReader(Descriptor, Filename, (int64)Info.st_size, ReadFlags);
}
