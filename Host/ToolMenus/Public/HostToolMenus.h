// Stand-in only (no engine counterpart): the editor's side of the menus, for tests. It sets the state the engine
// reaches during start-up (menu UI up or not, start-up finished or not), lists a menu as a user would see it, and
// chooses an entry as a user would. The level editor's Tools menu ("LevelEditor.MainMenu.Tools") also lists, first,
// the registered tab spawners under the workspace's Tools root that are not hidden from menus, as the editor's does.
#pragma once

#include "CoreMinimal.h"
#include "ToolMenus.h"

namespace HostToolMenus
{
/** One entry as a user sees it. */
struct FEntryView
{
	FName Section;
	FText SectionLabel;
	FName Name;
	FText Label;
	FText ToolTip;
	FSlateIcon Icon;
	FToolMenuOwner Owner;
	bool bEnabled = true;
	/** The entry is a tab spawner the menu lists by itself, not an entry a module added. */
	bool bIsTabSpawner = false;
};

/** Whether the menu UI is up: true in the editor, false as in a commandlet or game. */
void SetUIEnabled(bool bInEnabled);
/** Starts the engine's start-up over: until FinishEngineStartup, start-up callbacks wait. */
void BeginEngineStartup();
/** Ends the engine's start-up: waiting callbacks run (when the menu UI is up), once. */
void FinishEngineStartup();
/** Whether start-up callbacks are waiting. */
bool HasWaitingStartupCallbacks();

/** The entries of a menu, in order, as shown (visible ones, labels read now). */
TArray<FEntryView> ListMenu(FName MenuName);
/** Chooses an entry as a user would: only when shown and it can execute; true when its action ran. */
bool ChooseEntry(FName MenuName, FName EntryName);
/** Chooses the row at that index of ListMenu(MenuName) as a user would; true when its action ran. */
bool ChooseRow(FName MenuName, int32 RowIndex);
/** The names of all menus, registered or extended, in the order they were made. */
TArray<FName> GetMenuNames();
/** The action an entry was given (private to the entry in the engine). */
const FToolUIActionChoice& GetAction(const FToolMenuEntry& Entry);

/** Forgets every menu, owner and waiting callback, and restores the editor's state (UI up, start-up done). */
void Reset();
} // namespace HostToolMenus
