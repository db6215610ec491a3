// Stands in for the engine's EditorFramework/AssetImportData.h: where an asset was imported from.
#pragma once

#include "UObject/Object.h"

class UAssetImportData : public UObject
{
	HOST_DECLARE_CLASS(UAssetImportData, UObject, Engine)
public:
	/** The first source file, absolute; "" when none. */
	FString GetFirstFilename() const { return SourceFiles.Num() > 0 ? SourceFiles[0] : FString(); }
	TArray<FString> ExtractFilenames() const { return SourceFiles; }
	/** Replaces the source files with this one. */
	void Update(const FString& AbsoluteFilename) { SourceFiles = {AbsoluteFilename}; }
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	virtual void HostSerialize(FHostArchive& Ar) override;
#endif

private:
	TArray<FString> SourceFiles;
};
