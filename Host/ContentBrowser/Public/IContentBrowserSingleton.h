// Stands in for the engine's IContentBrowserSingleton.h: the Content Browser's selection and syncing it to assets.
#pragma once

#include "AssetRegistry/AssetData.h"
#include "CoreMinimal.h"

class UObject;

class IContentBrowserSingleton
{
public:
	virtual ~IContentBrowserSingleton() = default;

	/** The assets selected in the primary Content Browser, in its order. */
	virtual void GetSelectedAssets(TArray<FAssetData>& SelectedAssets) = 0;
	virtual void GetSelectedFolders(TArray<FString>& SelectedFolders) = 0;
	/** Shows the assets in a Content Browser and selects them. */
	virtual void SyncBrowserToAssets(const TArray<FAssetData>& AssetDataList, bool bAllowLockedBrowsers = false,
		bool bFocusContentBrowser = true, const FName& InstanceName = FName(), bool bNewSpawnBrowser = false) = 0;
	virtual void SyncBrowserToAssets(const TArray<UObject*>& AssetList, bool bAllowLockedBrowsers = false,
		bool bFocusContentBrowser = true, const FName& InstanceName = FName(), bool bNewSpawnBrowser = false) = 0;
	virtual void SyncBrowserToFolders(const TArray<FString>& FolderList, bool bAllowLockedBrowsers = false,
		bool bFocusContentBrowser = true, const FName& InstanceName = FName(), bool bNewSpawnBrowser = false) = 0;
	virtual void FocusPrimaryContentBrowser(bool bFocusSearch) = 0;
};
