// Stands in for the engine's AssetRegistry/IAssetRegistry.h: what assets exist, on disk and in memory, without
// loading them. The stand-in reads the object lists of package files under Content/ (cached by file time and size)
// and the packages in memory, whose state wins over their file; results come sorted by package and asset name.
#pragma once

#include "AssetRegistry/AssetData.h"
#include "CoreMinimal.h"
#include "UObject/SoftObjectPath.h"

#ifndef ASSETREGISTRY_API
#define ASSETREGISTRY_API
#endif

class IAssetRegistry
{
public:
	virtual ~IAssetRegistry() {}
	/** The registry, or nullptr before the module is up. */
	static IAssetRegistry* Get();
	static IAssetRegistry& GetChecked();

	/** Appends the assets in PackagePath (a folder without trailing '/'), and with bRecursive in its sub-folders. */
	virtual bool GetAssetsByPath(FName PackagePath, TArray<FAssetData>& OutAssetData, bool bRecursive = false,
		bool bIncludeOnlyOnDiskAssets = false) const = 0;
	virtual bool GetAssetsByPaths(TArray<FName> PackagePaths, TArray<FAssetData>& OutAssetData, bool bRecursive = false,
		bool bIncludeOnlyOnDiskAssets = false) const = 0;
	virtual bool GetAssetsByPackageName(FName PackageName, TArray<FAssetData>& OutAssetData,
		bool bIncludeOnlyOnDiskAssets = false, bool bSkipARFilteredAssets = true) const = 0;
	/** The asset at that object path; an invalid FAssetData when there is none. */
	virtual FAssetData GetAssetByObjectPath(const FSoftObjectPath& ObjectPath, bool bIncludeOnlyOnDiskAssets = false,
		bool bSkipARFilteredAssets = true) const = 0;
	virtual bool HasAssets(const FName PackagePath, const bool bRecursive = false) const = 0;
	/** The on-disk scan runs synchronously here, so nothing is ever still loading. */
	virtual bool IsLoadingAssets() const = 0;
	virtual void SearchAllAssets(bool bSynchronousSearch) = 0;
	virtual void ScanPathsSynchronous(const TArray<FString>& InPaths, bool bForceRescan = false,
		bool bIgnoreDenyListScanFilters = false) = 0;
};
