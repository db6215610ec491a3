// Stand-in only (no engine counterpart): the Content Browser's selection, set by tests as a user's clicks would set
// it, and a record of every sync (which also selects the synced assets, as in the editor).
#pragma once

#include "AssetRegistry/AssetData.h"
#include "CoreMinimal.h"

namespace HostContentBrowser
{
/** One sync as it was asked for. */
struct FSyncCall
{
	TArray<FAssetData> Assets;
	TArray<FString> Folders;
	bool bAllowLockedBrowsers = false;
	bool bFocusContentBrowser = true;
};

/** Selects these assets, in this order, as the user would. */
void SetSelectedAssets(const TArray<FAssetData>& Assets);
void SetSelectedFolders(const TArray<FString>& Folders);
/** Every sync since the last Reset, oldest first. */
TArray<FSyncCall> GetSyncCalls();
/** Clears the selection and the record. */
void Reset();
} // namespace HostContentBrowser
