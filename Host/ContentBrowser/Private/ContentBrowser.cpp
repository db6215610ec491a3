// The Content Browser: a selection list and a record of syncs.
#include "ContentBrowserModule.h"
#include "HostContentBrowser.h"

namespace
{
struct FBrowserState
{
	TArray<FAssetData> SelectedAssets;
	TArray<FString> SelectedFolders;
	TArray<HostContentBrowser::FSyncCall> Syncs;
};

FBrowserState& State()
{
	static FBrowserState Instance;
	return Instance;
}

class FHostContentBrowserSingleton : public IContentBrowserSingleton
{
public:
	virtual void GetSelectedAssets(TArray<FAssetData>& SelectedAssets) override
	{
		SelectedAssets.Append(State().SelectedAssets);
	}

	virtual void GetSelectedFolders(TArray<FString>& SelectedFolders) override
	{
		SelectedFolders.Append(State().SelectedFolders);
	}

	virtual void SyncBrowserToAssets(const TArray<FAssetData>& AssetDataList, bool bAllowLockedBrowsers,
		bool bFocusContentBrowser, const FName& /*InstanceName*/, bool /*bNewSpawnBrowser*/) override
	{
		HostContentBrowser::FSyncCall Call;
		Call.Assets = AssetDataList;
		Call.bAllowLockedBrowsers = bAllowLockedBrowsers;
		Call.bFocusContentBrowser = bFocusContentBrowser;
		State().Syncs.Add(Call);
		// Syncing shows the assets selected.
		State().SelectedAssets = AssetDataList;
		State().SelectedFolders.Empty();
	}

	virtual void SyncBrowserToAssets(const TArray<UObject*>& AssetList, bool bAllowLockedBrowsers,
		bool bFocusContentBrowser, const FName& InstanceName, bool bNewSpawnBrowser) override
	{
		TArray<FAssetData> Assets;
		for (const UObject* Asset : AssetList)
		{
			if (Asset)
			{
				Assets.Add(FAssetData(Asset));
			}
		}
		SyncBrowserToAssets(Assets, bAllowLockedBrowsers, bFocusContentBrowser, InstanceName, bNewSpawnBrowser);
	}

	virtual void SyncBrowserToFolders(const TArray<FString>& FolderList, bool bAllowLockedBrowsers,
		bool bFocusContentBrowser, const FName& /*InstanceName*/, bool /*bNewSpawnBrowser*/) override
	{
		HostContentBrowser::FSyncCall Call;
		Call.Folders = FolderList;
		Call.bAllowLockedBrowsers = bAllowLockedBrowsers;
		Call.bFocusContentBrowser = bFocusContentBrowser;
		State().Syncs.Add(Call);
		State().SelectedFolders = FolderList;
		State().SelectedAssets.Empty();
	}

	virtual void FocusPrimaryContentBrowser(bool /*bFocusSearch*/) override {}
};
} // namespace

void FContentBrowserModule::StartupModule()
{
	ContentBrowserSingleton = new FHostContentBrowserSingleton();
}

void FContentBrowserModule::ShutdownModule()
{
	delete ContentBrowserSingleton;
	ContentBrowserSingleton = nullptr;
}

IContentBrowserSingleton& FContentBrowserModule::Get() const
{
	check(ContentBrowserSingleton != nullptr);
	return *ContentBrowserSingleton;
}

namespace HostContentBrowser
{
void SetSelectedAssets(const TArray<FAssetData>& Assets)
{
	State().SelectedAssets = Assets;
}

void SetSelectedFolders(const TArray<FString>& Folders)
{
	State().SelectedFolders = Folders;
}

TArray<FSyncCall> GetSyncCalls()
{
	return State().Syncs;
}

void Reset()
{
	State().SelectedAssets.Empty();
	State().SelectedFolders.Empty();
	State().Syncs.Empty();
}
} // namespace HostContentBrowser
