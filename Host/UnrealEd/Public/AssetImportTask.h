// Stands in for the engine's AssetImportTask.h: one file to import, its destination and options, and what it made.
#pragma once

#include "UObject/Object.h"

class UFactory;

class UAssetImportTask : public UObject
{
	HOST_DECLARE_CLASS(UAssetImportTask, UObject, UnrealEd)
public:
	FString Filename;
	FString DestinationPath;
	FString DestinationName;
	bool bReplaceExisting = false;
	bool bReplaceExistingSettings = false;
	bool bAutomated = false;
	bool bSave = false;
	bool bAsync = false;
	TObjectPtr<UFactory> Factory;
	TObjectPtr<UObject> Options;
	/** Path names of the objects made, appended to by each run. */
	TArray<FString> ImportedObjectPaths;

	/** The objects made (resolved from ImportedObjectPaths). */
	const TArray<UObject*>& GetObjects() const;
	bool IsAsyncImportComplete() const { return true; }

private:
	mutable TArray<UObject*> ResolvedObjects;
};
