// Whole-file reads and writes. Reads size the buffer once from the file's size. Writes go through the file manager's
// writer, as the engine's do: in place, so a failure or a crash part-way leaves a truncated file.
#include "Misc/FileHelper.h"

#include "Containers/StringConv.h"
#include "HostCorePrivate.h"
#include "Logging/LogMacros.h"
#include "Serialization/Archive.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

DEFINE_LOG_CATEGORY_STATIC(LogStreaming, Display, All);

namespace
{
/** Reads the whole file into Result, replacing it; false with a reason when it cannot. */
bool ReadWholeFile(const TCHAR* Filename, TArray<uint8>& Result, FString& OutError)
{
	const std::string Native = HostCore::ToNative(Filename);
	const int Descriptor = Native.empty() ? -1 : open(Native.c_str(), O_RDONLY | O_CLOEXEC);
	if (Descriptor < 0)
	{
		OutError = HostCore::FromNative(std::strerror(Native.empty() ? ENOENT : errno));
		return false;
	}
	struct stat Info;
	if (fstat(Descriptor, &Info) != 0 || S_ISDIR(Info.st_mode))
	{
		OutError = TEXT("not a file");
		close(Descriptor);
		return false;
	}
	if (Info.st_size > (off_t)0x7fffffff)
	{
		// TArray<uint8> counts in int32, as the engine's does.
		OutError = TEXT("the file is too large for one array");
		close(Descriptor);
		return false;
	}
	const int32 Size = (int32)Info.st_size;
	Result.Empty();
	Result.SetNumUninitialized(Size);
	int32 Done = 0;
	while (Done < Size)
	{
		const ssize_t Got = read(Descriptor, Result.GetData() + Done, (SIZE_T)(Size - Done));
		if (Got < 0 && errno == EINTR)
		{
			continue;
		}
		if (Got < 0)
		{
			OutError = HostCore::FromNative(std::strerror(errno));
			close(Descriptor);
			Result.Empty();
			return false;
		}
		if (Got == 0)
		{
			// The file shrank since it was measured.
			break;
		}
		Done += (int32)Got;
	}
	close(Descriptor);
	if (Done < Size)
	{
		Result.SetNum(Done);
	}
	return true;
}

bool IsAllAscii(FStringView String)
{
	for (TCHAR Character : String)
	{
		if (Character > 0x7F)
		{
			return false;
		}
	}
	return true;
}

bool WriteBytes(IFileManager* FileManager, const TCHAR* Filename, const void* Data, SIZE_T Size, uint32 WriteFlags)
{
	FArchive* Ar = FileManager->CreateFileWriter(Filename, WriteFlags);
	if (Ar == nullptr)
	{
		if (!(WriteFlags & FILEWRITE_Silent))
		{
			UE_LOG(LogStreaming, Warning, TEXT("Could not open %s for writing."), Filename);
		}
		return false;
	}
	Ar->Serialize(const_cast<void*>(Data), (int64)Size);
	// Closed explicitly, so that an error of the last write or of the close counts.
	Ar->Close();
	const bool bSuccess = !Ar->IsError() && !Ar->IsCriticalError();
	delete Ar;
	return bSuccess;
}
} // namespace

bool FFileHelper::LoadFileToArray(TArray<uint8>& Result, const TCHAR* Filename, uint32 Flags)
{
	FString Error;
	if (ReadWholeFile(Filename, Result, Error))
	{
		return true;
	}
	if (Flags & FILEREAD_NoFail)
	{
		UE_LOG(LogStreaming, Fatal, TEXT("Failed to read file: %s"), Filename);
	}
	if (!(Flags & FILEREAD_Silent))
	{
		UE_LOG(LogStreaming, Warning, TEXT("Failed to read file '%s' error."), Filename);
	}
	return false;
}

void FFileHelper::BufferToString(FString& Result, const uint8* Buffer, int32 Size)
{
	std::u16string& Text = Result.HostStorage();
	Text.clear();
	if (Size >= 2 && !(Size & 1) && Buffer[0] == 0xFF && Buffer[1] == 0xFE)
	{
		Text.reserve((SIZE_T)(Size - 2) / 2);
		for (int32 Index = 2; Index + 1 < Size; Index += 2)
		{
			Text.push_back((char16_t)(Buffer[Index] | (Buffer[Index + 1] << 8)));
		}
	}
	else if (Size >= 2 && !(Size & 1) && Buffer[0] == 0xFE && Buffer[1] == 0xFF)
	{
		Text.reserve((SIZE_T)(Size - 2) / 2);
		for (int32 Index = 2; Index + 1 < Size; Index += 2)
		{
			Text.push_back((char16_t)((Buffer[Index] << 8) | Buffer[Index + 1]));
		}
	}
	else
	{
		const int32 Skip = Size >= 3 && Buffer[0] == 0xEF && Buffer[1] == 0xBB && Buffer[2] == 0xBF ? 3 : 0;
		Text = HostConv::FromUtf8((const char*)Buffer + Skip, Size - Skip);
	}
	// A stray terminator would end the text early wherever it is read as a C string.
	const SIZE_T Zero = Text.find(u'\0');
	if (Zero != std::u16string::npos)
	{
		Text.resize(Zero);
	}
}

bool FFileHelper::LoadFileToString(FString& Result, const TCHAR* Filename, EHashOptions VerifyFlags, uint32 ReadFlags)
{
	(void)VerifyFlags;
	TArray<uint8> Bytes;
	if (!LoadFileToArray(Bytes, Filename, ReadFlags))
	{
		return false;
	}
	BufferToString(Result, Bytes.GetData(), Bytes.Num());
	return true;
}

bool FFileHelper::LoadFileToStringArray(TArray<FString>& Result, const TCHAR* Filename)
{
	FString Text;
	if (!LoadFileToString(Text, Filename))
	{
		return false;
	}
	Result.Empty();
	const std::u16string& Data = Text.HostStorage();
	SIZE_T LineStart = 0;
	while (LineStart < Data.size())
	{
		SIZE_T LineEnd = Data.find(u'\n', LineStart);
		const SIZE_T Next = LineEnd == std::u16string::npos ? Data.size() : LineEnd + 1;
		LineEnd = LineEnd == std::u16string::npos ? Data.size() : LineEnd;
		if (LineEnd > LineStart && Data[LineEnd - 1] == u'\r')
		{
			--LineEnd;
		}
		Result.Add(FString((int32)(LineEnd - LineStart), Data.data() + LineStart));
		LineStart = Next;
	}
	return true;
}

bool FFileHelper::SaveArrayToFile(
	TArrayView<const uint8> Array, const TCHAR* Filename, IFileManager* FileManager, uint32 WriteFlags)
{
	return WriteBytes(FileManager, Filename, Array.GetData(), (SIZE_T)Array.Num(), WriteFlags);
}

bool FFileHelper::SaveStringToFile(FStringView String, const TCHAR* Filename, EEncodingOptions EncodingOptions,
	IFileManager* FileManager, uint32 WriteFlags)
{
	std::string Bytes;
	if (!String.IsEmpty())
	{
		if (EncodingOptions == EEncodingOptions::AutoDetect)
		{
			EncodingOptions = IsAllAscii(String) ? EEncodingOptions::ForceAnsi : EEncodingOptions::ForceUnicode;
		}
		switch (EncodingOptions)
		{
			case EEncodingOptions::ForceAnsi:
				Bytes.reserve((SIZE_T)String.Len());
				for (TCHAR Character : String)
				{
					Bytes.push_back(Character > 0xFF ? '?' : (char)Character);
				}
				break;
			case EEncodingOptions::ForceUnicode:
				Bytes.reserve((SIZE_T)String.Len() * 2 + 2);
				Bytes.push_back((char)0xFF);
				Bytes.push_back((char)0xFE);
				for (TCHAR Character : String)
				{
					Bytes.push_back((char)(Character & 0xFF));
					Bytes.push_back((char)(Character >> 8));
				}
				break;
			case EEncodingOptions::ForceUTF8:
				Bytes = "\xEF\xBB\xBF";
				Bytes += HostConv::ToUtf8(String.GetData(), String.Len());
				break;
			case EEncodingOptions::ForceUTF8WithoutBOM:
			default:
				Bytes = HostConv::ToUtf8(String.GetData(), String.Len());
				break;
		}
	}
	return WriteBytes(FileManager, Filename, Bytes.data(), Bytes.size(), WriteFlags);
}

bool FFileHelper::SaveStringArrayToFile(const TArray<FString>& Lines, const TCHAR* Filename,
	EEncodingOptions EncodingOptions, IFileManager* FileManager, uint32 WriteFlags)
{
	FString Text;
	for (const FString& Line : Lines)
	{
		Text += Line;
		Text += LINE_TERMINATOR;
	}
	return SaveStringToFile(Text, Filename, EncodingOptions, FileManager, WriteFlags);
}
