// Stand-in only (no engine counterpart): what tests read from the editor's docking area. The engine's global tab
// manager keeps its open tabs to itself; the stand-in's lets tests see them through these calls.
#pragma once

#include "CoreMinimal.h"
#include "Framework/Docking/TabManager.h"

class SDockTab;

namespace HostTabManager
{
/** The global tab manager's spawner of that id (nomad spawners included), or null. */
TSharedPtr<FTabSpawnerEntry> FindSpawner(FName TabId);
/** The tabs the global tab manager opened that are still open, oldest first. */
TArray<TSharedRef<SDockTab>> GetOpenTabs();
/** The tab brought to the front last, or null. */
TSharedPtr<SDockTab> GetForegroundTab();
/** Closes every open tab, as the user closing them (tabs may refuse, as in the editor). */
void CloseAllTabs();
} // namespace HostTabManager
