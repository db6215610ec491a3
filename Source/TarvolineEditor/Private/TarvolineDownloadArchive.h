// Where a download's answer goes while it arrives: a file writer on the temporary file beside the target, opened when
// the first bytes come (so that a refused link leaves no file at all) and written on the HTTP thread as curl hands the
// bytes over. The download's completion closes it on the game thread before the file is moved or deleted.

#pragma once

#include "CoreMinimal.h"
#include "Serialization/Archive.h"
#include "Templates/UniquePtr.h"

class FTarvolineDownloadArchive final : public FArchive
{
public:
	/** Writes to TempPath once bytes arrive; nothing is opened yet. */
	explicit FTarvolineDownloadArchive(const FString& InTempPath);
	virtual ~FTarvolineDownloadArchive() override;

	/** Writes the bytes to the temporary file, opening it first; a failed open or write sets the archive's error. */
	virtual void Serialize(void* Data, int64 Length) override;
	/** Bytes written so far. */
	virtual int64 Tell() override;
	/** Closes the file (flushing what the writer holds); false if anything failed since the archive was made. */
	virtual bool Close() override;
	virtual FString GetArchiveName() const override;

	/** Makes the (empty) file if no bytes came, so that an empty answer still becomes a file; false on failure. */
	bool MakeFile();

private:
	bool Open();

	FString TempPath;
	TUniquePtr<FArchive> Writer;
	bool bOpened = false;
	int64 Written = 0;
};
