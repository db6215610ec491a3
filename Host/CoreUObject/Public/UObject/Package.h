// Stands in for the engine's UObject/Package.h: a package is the unit that is saved to and loaded from one file.
#pragma once

#include "UObject/Object.h"

class FOutputDevice;

enum class ESavePackageResult
{
	Success,
	Canceled,
	Error,
	MissingFile,
	ReplaceCompletely,
	ContainsEditorOnlyData,
	ReferencedOnlyByEditorOnlyData,
	DifferentContent,
	GenerateStub,
	Timeout,
	EmptyPackage = Success,
};

enum ESaveFlags : uint32
{
	SAVE_None = 0x00000000,
	SAVE_NoError = 0x00000001,
	SAVE_FromAutosave = 0x00000002,
	SAVE_KeepDirty = 0x00000004,
	SAVE_Async = 0x00000010,
	SAVE_Unversioned = 0x00000020,
};

struct FSavePackageArgs
{
	EObjectFlags TopLevelFlags = RF_Standalone;
	uint32 SaveFlags = SAVE_None;
	bool bForceByteSwapping = false;
	bool bWarnOfLongFilename = true;
	bool bSlowTask = true;
	FOutputDevice* Error = nullptr;
};

struct FSavePackageResultStruct
{
	ESavePackageResult Result = ESavePackageResult::Error;
	FSavePackageResultStruct() = default;
	FSavePackageResultStruct(ESavePackageResult InResult)
		: Result(InResult)
	{
	}
	bool IsSuccessful() const { return Result == ESavePackageResult::Success; }
	bool operator==(ESavePackageResult Other) const { return Result == Other; }
};

class UPackage : public UObject
{
	HOST_DECLARE_CLASS(UPackage, UObject, CoreUObject)
public:
	bool IsDirty() const { return bDirty; }
	void SetDirtyFlag(bool bInIsDirty);
	void FullyLoad() {}
	bool IsFullyLoaded() const { return true; }
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	/** The file this package was last loaded from or saved to; empty for a package made in memory. */
	const FString& GetHostFileName() const { return HostFileName; }
	void SetHostFileName(const FString& InFileName) { HostFileName = InFileName; }
#endif

	/**
	 * Writes the package's objects to Filename in the stand-in's package format (Host/README.md, "Objects") and
	 * clears its dirty flag unless SAVE_KeepDirty. A package without objects deletes its file instead.
	 */
	static FSavePackageResultStruct Save(UPackage* InOuter, UObject* InAsset, const TCHAR* Filename,
		const FSavePackageArgs& SaveArgs);
	static bool SavePackage(UPackage* InOuter, UObject* InAsset, const TCHAR* Filename, const FSavePackageArgs& SaveArgs)
	{
		return Save(InOuter, InAsset, Filename, SaveArgs).IsSuccessful();
	}

private:
	bool bDirty = false;
	FString HostFileName;
};
