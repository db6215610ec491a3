// The multipart body of one model upload as an archive the HTTP module reads from while it sends: the part's head,
// then the model file in the pieces the transfer asks for, then the closing line. Only the head and the closing line
// are held in memory, so a model of any size costs the same few kilobytes.

#pragma once

#include "CoreMinimal.h"
#include "Serialization/Archive.h"
#include "Templates/UniquePtr.h"

class FTarvolineUploadArchive final : public FArchive
{
public:
	/** Opens the file at FilePath to be sent between Head and Tail; IsOpen tells whether it could be opened. */
	FTarvolineUploadArchive(const FString& FilePath, TArray<uint8> InHead, TArray<uint8> InTail);
	virtual ~FTarvolineUploadArchive() override;

	/** Whether the file could be opened for reading when the archive was made. */
	bool IsOpen() const;

	/** Copies the next Length bytes of the body; a failed read of the file sets the archive's error. */
	virtual void Serialize(void* Data, int64 Length) override;
	/** The position in the whole body. */
	virtual int64 Tell() override;
	/** The whole body's size: head, file and closing line, in 64 bits so that files past 2 GiB count right. */
	virtual int64 TotalSize() override;
	/** Moves to a position in the whole body. */
	virtual void Seek(int64 InPos) override;
	/** Lets the file go; false if any read failed. */
	virtual bool Close() override;
	virtual FString GetArchiveName() const override;

private:
	FString FilePath;
	TArray<uint8> Head;
	TArray<uint8> Tail;
	/** The file's reader; null once closed, or when the file could not be opened. */
	TUniquePtr<FArchive> File;
	int64 FileSize = 0;
	int64 Pos = 0;
};
