// Stand-in for the engine's Serialization/MemoryWriter.h: an archive that writes into a byte array, growing it.
#pragma once

#include "Containers/Array.h"
#include "Serialization/MemoryArchive.h"
#include "UObject/NameTypes.h"

#include <cstring>

template <int IndexSize>
class TMemoryWriterBase : public FMemoryArchive
{
public:
	/** Writes into InBytes from its start, or from its end with bSetOffset. The array must outlive the writer. */
	TMemoryWriterBase(TArray<uint8>& InBytes, bool bIsPersistent = false, bool bSetOffset = false,
		const FName InArchiveName = NAME_None)
		: Bytes(InBytes)
		, ArchiveName(InArchiveName)
	{
		SetIsSaving(true);
		SetIsPersistent(bIsPersistent);
		if (bSetOffset)
		{
			Offset = InBytes.Num();
		}
	}

	void Serialize(void* Data, int64 Num) override
	{
		if (Num <= 0)
		{
			return;
		}
		const int64 NumBytesToAdd = Offset + Num - Bytes.Num();
		if (NumBytesToAdd > 0)
		{
			Bytes.AddUninitialized((int32)NumBytesToAdd);
		}
		std::memcpy(Bytes.GetData() + Offset, Data, (size_t)Num);
		Offset += Num;
	}

	int64 TotalSize() override { return Bytes.Num(); }
	FString GetArchiveName() const override { return FString(TEXT("FMemoryWriter")); }

protected:
	TArray<uint8>& Bytes;
	const FName ArchiveName;
};

/** An archive writing into a TArray<uint8>. */
using FMemoryWriter = TMemoryWriterBase<32>;
