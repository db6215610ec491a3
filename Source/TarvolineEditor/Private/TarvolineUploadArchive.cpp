// The upload body read in pieces: see the header.

#include "TarvolineUploadArchive.h"

#include "HAL/FileManager.h"
#include "HAL/UnrealMemory.h"

FTarvolineUploadArchive::FTarvolineUploadArchive(const FString& InFilePath, TArray<uint8> InHead, TArray<uint8> InTail)
	: FilePath(InFilePath)
	, Head(MoveTemp(InHead))
	, Tail(MoveTemp(InTail))
{
	SetIsLoading(true);
	// A directory or a missing file has no size; only a file that has one is opened. Silent: the caller turns a
	// failure into its own sentence, and a failed read must not put an error line in the editor's log.
	FileSize = IFileManager::Get().FileSize(*FilePath);
	if (FileSize >= 0)
	{
		File.Reset(IFileManager::Get().CreateFileReader(*FilePath, FILEREAD_Silent));
	}
	if (File)
	{
		// The reader's own size is the one it will serve, should the file have changed since it was measured.
		FileSize = File->TotalSize();
	}
}

FTarvolineUploadArchive::~FTarvolineUploadArchive()
{
	Close();
}

bool FTarvolineUploadArchive::IsOpen() const
{
	return File.IsValid() && FileSize >= 0;
}

void FTarvolineUploadArchive::Serialize(void* Data, int64 Length)
{
	uint8* Out = static_cast<uint8*>(Data);
	if (Length < 0 || Pos + Length > TotalSize())
	{
		SetError();
		return;
	}
	const int64 HeadSize = Head.Num();
	while (Length > 0)
	{
		int64 Copied = 0;
		if (Pos < HeadSize)
		{
			Copied = FMath::Min(Length, HeadSize - Pos);
			FMemory::Memcpy(Out, Head.GetData() + Pos, (SIZE_T)Copied);
		}
		else if (Pos < HeadSize + FileSize)
		{
			const int64 FilePos = Pos - HeadSize;
			Copied = FMath::Min(Length, FileSize - FilePos);
			if (!File)
			{
				SetError();
				return;
			}
			if (File->Tell() != FilePos)
			{
				File->Seek(FilePos);
			}
			File->Serialize(Out, Copied);
			if (File->IsError())
			{
				SetError();
				return;
			}
		}
		else
		{
			const int64 TailPos = Pos - HeadSize - FileSize;
			Copied = FMath::Min(Length, (int64)Tail.Num() - TailPos);
			FMemory::Memcpy(Out, Tail.GetData() + TailPos, (SIZE_T)Copied);
		}
		Out += Copied;
		Pos += Copied;
		Length -= Copied;
	}
}

int64 FTarvolineUploadArchive::Tell()
{
	return Pos;
}

int64 FTarvolineUploadArchive::TotalSize()
{
	return (int64)Head.Num() + FileSize + (int64)Tail.Num();
}

void FTarvolineUploadArchive::Seek(int64 InPos)
{
	if (InPos < 0 || InPos > TotalSize())
	{
		SetError();
		return;
	}
	Pos = InPos;
}

bool FTarvolineUploadArchive::Close()
{
	if (File && !File->Close())
	{
		SetError();
	}
	File.Reset();
	return !IsError();
}

FString FTarvolineUploadArchive::GetArchiveName() const
{
	return FilePath;
}
