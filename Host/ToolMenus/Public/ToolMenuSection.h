// Stands in for the engine's ToolMenuSection.h: a labelled group of entries in a menu.
#pragma once

#include "CoreMinimal.h"
#include "ToolMenuEntry.h"
#include "ToolMenuMisc.h"
#include "ToolMenuOwner.h"

struct FToolMenuSection
{
	/** Adds an entry, or replaces the entry of the same name; its owner is the menus' current owner. */
	FToolMenuEntry& AddEntry(const FToolMenuEntry& Args);
	FToolMenuEntry& AddMenuEntry(const FName InName, const TAttribute<FText>& InLabel, const TAttribute<FText>& InToolTip,
		const TAttribute<FSlateIcon>& InIcon, const FToolUIActionChoice& InAction,
		const EUserInterfaceActionType UserInterfaceActionType = EUserInterfaceActionType::Button,
		const FName InTutorialHighlightName = NAME_None);
	FToolMenuEntry& AddSeparator(const FName InName);
	FToolMenuEntry* FindEntry(const FName InName);
	const FToolMenuEntry* FindEntry(const FName InName) const;

private:
	// Private in the engine: entries are removed through UToolMenus (RemoveEntry, UnregisterOwner).
	int32 RemoveEntry(const FName InName);
	/** Removes every entry of that owner; the number removed. */
	int32 RemoveEntriesByOwner(const FToolMenuOwner InOwner);

	friend class UToolMenus;
	friend class UToolMenu;

public:

	FName Name;
	TAttribute<FText> Label;
	FToolMenuOwner Owner;
	TArray<FToolMenuEntry> Blocks;
	FToolMenuInsert InsertPosition;
};
