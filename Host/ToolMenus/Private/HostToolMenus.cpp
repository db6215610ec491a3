// The editor's side of the menus: listing a menu as shown, and choosing an entry as a user does.
#include "HostToolMenus.h"
#include "Framework/Docking/TabManager.h"
#include "HostTabManager.h"
#include "ToolMenusPrivate.h"
#include "WorkspaceMenuStructureModule.h"

namespace HostToolMenus
{
namespace
{
using FMenuDisplay = FPopulateMenuBuilderWithToolMenuEntry;

const FName LevelEditorToolsMenu(TEXT("LevelEditor.MainMenu.Tools"));

/** The tab spawners under a workspace group, depth first, except those hidden from menus. */
void CollectSpawners(const TSharedRef<FWorkspaceItem>& Group, TArray<TSharedRef<FTabSpawnerEntry>>& Out)
{
	for (const TSharedRef<FWorkspaceItem>& Child : Group->GetChildItems())
	{
		if (TSharedPtr<FTabSpawnerEntry> Spawner = Child->AsSpawnerEntry())
		{
			// Only spawners the tab manager still has: an unregistered spawner's item stays in its group, and the
			// editor's menus, which go from the registered spawners to the groups, never reach it.
			if (Spawner->GetMenuType() != ETabSpawnerMenuType::Hidden && Spawner->GetAutoGenerateMenuEntry() &&
				HostTabManager::FindSpawner(Spawner->GetTabType()) == Spawner)
			{
				Out.Add(Spawner.ToSharedRef());
			}
		}
		else
		{
			CollectSpawners(Child, Out);
		}
	}
}

TArray<TSharedRef<FTabSpawnerEntry>> ToolsMenuSpawners()
{
	TArray<TSharedRef<FTabSpawnerEntry>> Spawners;
	if (FModuleManager::Get().IsModuleLoaded("WorkspaceMenuStructure"))
	{
		CollectSpawners(WorkspaceMenu::GetMenuStructure().GetToolsStructureRoot(), Spawners);
	}
	return Spawners;
}
} // namespace

TArray<FEntryView> ListMenu(FName MenuName)
{
	TArray<FEntryView> Views;
	if (MenuName == LevelEditorToolsMenu)
	{
		for (const TSharedRef<FTabSpawnerEntry>& Spawner : ToolsMenuSpawners())
		{
			FEntryView View;
			View.Section = FName(TEXT("Tools"));
			View.Name = Spawner->GetTabType();
			View.Label = Spawner->GetDisplayName();
			View.ToolTip = Spawner->GetTooltipText();
			View.Icon = Spawner->GetIcon();
			View.bEnabled = Spawner->GetMenuType() == ETabSpawnerMenuType::Enabled;
			View.bIsTabSpawner = true;
			Views.Add(View);
		}
	}
	UToolMenus* Menus = UToolMenus::TryGet();
	UToolMenu* Menu = Menus ? Menus->FindMenu(MenuName) : nullptr;
	if (!Menu)
	{
		return Views;
	}
	for (const FToolMenuSection& Section : Menu->Sections)
	{
		for (const FToolMenuEntry& Entry : Section.Blocks)
		{
			if (Entry.Type == EMultiBlockType::Separator || !FMenuDisplay::IsVisible(Entry, FToolMenuContext()))
			{
				continue;
			}
			FEntryView View;
			View.Section = Section.Name;
			View.SectionLabel = Section.Label.Get(FText::GetEmpty());
			View.Name = Entry.Name;
			View.Label = Entry.Label.Get(FText::GetEmpty());
			View.ToolTip = Entry.ToolTip.Get(FText::GetEmpty());
			View.Icon = Entry.Icon.Get(FSlateIcon());
			View.Owner = Entry.Owner;
			View.bEnabled = FMenuDisplay::CanExecute(Entry, FToolMenuContext());
			Views.Add(View);
		}
	}
	return Views;
}

TArray<FName> GetMenuNames()
{
	TArray<FName> Names;
	if (UToolMenus* Menus = UToolMenus::TryGet())
	{
		for (const TPair<FName, TSharedRef<UToolMenu>>& Pair : FMenuDisplay::MenusOf(*Menus))
		{
			Names.Add(Pair.Key);
		}
	}
	return Names;
}

const FToolUIActionChoice& GetAction(const FToolMenuEntry& Entry)
{
	return FMenuDisplay::ActionOf(Entry);
}

bool ChooseEntry(FName MenuName, FName EntryName)
{
	UToolMenus* Menus = UToolMenus::TryGet();
	if (UToolMenu* Menu = Menus ? Menus->FindMenu(MenuName) : nullptr)
	{
		for (const FToolMenuSection& Section : Menu->Sections)
		{
			for (const FToolMenuEntry& Entry : Section.Blocks)
			{
				if (Entry.Name == EntryName && Entry.Type != EMultiBlockType::Separator)
				{
					// Copied: the action may change the menus it was chosen from.
					const FToolMenuEntry Chosen = Entry;
					const FToolMenuContext Context;
					return FMenuDisplay::IsVisible(Chosen, Context) && FMenuDisplay::CanExecute(Chosen, Context) &&
						   FMenuDisplay::Execute(Chosen, Context);
				}
			}
		}
	}
	if (MenuName == LevelEditorToolsMenu)
	{
		for (const TSharedRef<FTabSpawnerEntry>& Spawner : ToolsMenuSpawners())
		{
			if (Spawner->GetTabType() == EntryName && Spawner->GetMenuType() == ETabSpawnerMenuType::Enabled)
			{
				return FGlobalTabmanager::Get()->TryInvokeTab(FTabId(EntryName)).IsValid();
			}
		}
	}
	return false;
}
bool ChooseRow(FName MenuName, int32 RowIndex)
{
	if (RowIndex < 0)
	{
		return false;
	}
	if (MenuName == LevelEditorToolsMenu)
	{
		const TArray<TSharedRef<FTabSpawnerEntry>> Spawners = ToolsMenuSpawners();
		if (RowIndex < Spawners.Num())
		{
			const TSharedRef<FTabSpawnerEntry>& Spawner = Spawners[RowIndex];
			// A disabled spawner is shown greyed out and cannot be chosen.
			return Spawner->GetMenuType() == ETabSpawnerMenuType::Enabled &&
				   FGlobalTabmanager::Get()->TryInvokeTab(FTabId(Spawner->GetTabType())).IsValid();
		}
		RowIndex -= Spawners.Num();
	}
	UToolMenus* Menus = UToolMenus::TryGet();
	UToolMenu* Menu = Menus ? Menus->FindMenu(MenuName) : nullptr;
	if (!Menu)
	{
		return false;
	}
	const FToolMenuContext Context;
	for (const FToolMenuSection& Section : Menu->Sections)
	{
		for (const FToolMenuEntry& Entry : Section.Blocks)
		{
			if (Entry.Type == EMultiBlockType::Separator || !FMenuDisplay::IsVisible(Entry, Context))
			{
				continue;
			}
			if (RowIndex-- == 0)
			{
				// Copied: the action may change the menus it was chosen from.
				const FToolMenuEntry Chosen = Entry;
				return FMenuDisplay::CanExecute(Chosen, Context) && FMenuDisplay::Execute(Chosen, Context);
			}
		}
	}
	return false;
}
} // namespace HostToolMenus
