// Stands in for the engine's IAssetTools.h: unique asset names, automated imports and renames.
#pragma once

#include "CoreMinimal.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/WeakObjectPtrTemplates.h"

class UAssetImportTask;
class UObject;

struct FAssetRenameData
{
	TWeakObjectPtr<UObject> Asset;
	FString NewPackagePath;
	FString NewName;
	FSoftObjectPath OldObjectPath;
	FSoftObjectPath NewObjectPath;
	bool bOnlyFixSoftReferences = false;
	bool bAlsoRenameLocalizedVariants = false;

	FAssetRenameData() = default;
	/** Moves Asset to NewPackagePath/NewName.NewName. */
	FAssetRenameData(const TWeakObjectPtr<UObject>& InAsset, const FString& InNewPackagePath, const FString& InNewName)
		: Asset(InAsset)
		, NewPackagePath(InNewPackagePath)
		, NewName(InNewName)
	{
	}
	FAssetRenameData(const FSoftObjectPath& InOldObjectPath, const FSoftObjectPath& InNewObjectPath,
		bool bInOnlyFixSoftReferences = false)
		: OldObjectPath(InOldObjectPath)
		, NewObjectPath(InNewObjectPath)
		, bOnlyFixSoftReferences(bInOnlyFixSoftReferences)
	{
	}
};

class IAssetTools
{
public:
	virtual ~IAssetTools() {}
	/**
	 * A package and asset name in the base's folder that no asset uses: the base name itself, else with a number
	 * appended without "_" from 1 (walk, walk1, walk2), continuing from digits the name already ends in.
	 */
	virtual void CreateUniqueAssetName(const FString& InBasePackageName, const FString& InSuffix, FString& OutPackageName,
		FString& OutAssetName) = 0;
	/** Runs each task synchronously and fills its ImportedObjectPaths. */
	virtual void ImportAssetTasks(const TArray<UAssetImportTask*>& ImportTasks) = 0;
	/** Moves each asset (package and object together); false when any move failed, e.g. its target is taken. */
	virtual bool RenameAssets(const TArray<FAssetRenameData>& AssetsAndNames) = 0;
};
