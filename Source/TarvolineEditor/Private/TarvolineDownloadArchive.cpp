// A download's answer streamed into its temporary file: see the header.

#include "TarvolineDownloadArchive.h"

#include "HAL/FileManager.h"

FTarvolineDownloadArchive::FTarvolineDownloadArchive(const FString& InTempPath)
	: TempPath(InTempPath)
{
	SetIsSaving(true);
}

FTarvolineDownloadArchive::~FTarvolineDownloadArchive()
{
	Close();
}

bool FTarvolineDownloadArchive::Open()
{
	if (!bOpened)
	{
		bOpened = true;
		// Silent: a disk that is full or read-only is the user's sentence, not an error line in the editor's log. The
		// writer makes the missing folders itself.
		Writer.Reset(IFileManager::Get().CreateFileWriter(*TempPath, FILEWRITE_Silent));
		if (!Writer)
		{
			SetError();
		}
	}
	return Writer.IsValid();
}

void FTarvolineDownloadArchive::Serialize(void* Data, int64 Length)
{
	if (IsError() || !Open())
	{
		return;
	}
	Writer->Serialize(Data, Length);
	Written += Length;
	if (Writer->IsError())
	{
		SetError();
	}
}

int64 FTarvolineDownloadArchive::Tell()
{
	return Written;
}

bool FTarvolineDownloadArchive::MakeFile()
{
	return Open() && !IsError();
}

bool FTarvolineDownloadArchive::Close()
{
	if (Writer && !Writer->Close())
	{
		SetError();
	}
	Writer.Reset();
	return !IsError();
}

FString FTarvolineDownloadArchive::GetArchiveName() const
{
	return TempPath;
}
