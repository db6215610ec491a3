// Stand-in for the engine's Serialization/Archive.h: a stream of bytes that is read or written through Serialize.
// Only the part of the engine's FArchive that file writers, memory writers and the JSON writer use.
#pragma once

#include "Containers/UnrealString.h"
#include "CoreTypes.h"

class FArchive
{
public:
	FArchive() = default;
	FArchive(const FArchive&) = default;
	FArchive& operator=(const FArchive&) = default;
	virtual ~FArchive() = default;

	/** Reads Length bytes into V (loading) or writes Length bytes from V (saving). */
	virtual void Serialize(void* V, int64 Length)
	{
		(void)V;
		(void)Length;
	}
	/** The position in the stream; INDEX_NONE when the archive has none. */
	virtual int64 Tell() { return -1; }
	/** The stream's size; INDEX_NONE when unknown. */
	virtual int64 TotalSize() { return -1; }
	virtual bool AtEnd()
	{
		const int64 Pos = Tell();
		return Pos != -1 && Pos >= TotalSize();
	}
	virtual void Seek(int64 InPos) { (void)InPos; }
	/** Writes out what is buffered. */
	virtual void Flush() {}
	/** Ends the archive's work (for a file: closes it); false when an error happened at any time. */
	virtual bool Close() { return !IsError(); }
	virtual FString GetArchiveName() const { return FString(TEXT("FArchive")); }

	bool IsLoading() const { return ArIsLoading; }
	bool IsSaving() const { return ArIsSaving; }
	bool IsPersistent() const { return ArIsPersistent; }
	bool IsError() const { return ArIsError; }
	bool GetError() const { return ArIsError; }
	bool IsCriticalError() const { return ArIsCriticalError; }
	void SetError() { ArIsError = true; }
	void SetCriticalError()
	{
		ArIsError = true;
		ArIsCriticalError = true;
	}
	void ClearError()
	{
		ArIsError = false;
		ArIsCriticalError = false;
	}
	virtual void SetIsLoading(bool bInIsLoading) { ArIsLoading = bInIsLoading; }
	virtual void SetIsSaving(bool bInIsSaving) { ArIsSaving = bInIsSaving; }
	virtual void SetIsPersistent(bool bInIsPersistent) { ArIsPersistent = bInIsPersistent; }

	friend FArchive& operator<<(FArchive& Ar, uint8& Value)
	{
		Ar.Serialize(&Value, 1);
		return Ar;
	}
	friend FArchive& operator<<(FArchive& Ar, int32& Value)
	{
		Ar.Serialize(&Value, sizeof(Value));
		return Ar;
	}
	friend FArchive& operator<<(FArchive& Ar, uint32& Value)
	{
		Ar.Serialize(&Value, sizeof(Value));
		return Ar;
	}
	friend FArchive& operator<<(FArchive& Ar, int64& Value)
	{
		Ar.Serialize(&Value, sizeof(Value));
		return Ar;
	}

private:
	bool ArIsLoading = false;
	bool ArIsSaving = false;
	bool ArIsPersistent = false;
	bool ArIsError = false;
	bool ArIsCriticalError = false;
};
