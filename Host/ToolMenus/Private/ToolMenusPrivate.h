// What the stand-in's menu display needs from the menus' private parts: the engine declares its menu builder
// (FPopulateMenuBuilderWithToolMenuEntry) a friend of UToolMenus and FToolMenuEntry, and the stand-in's display,
// which shows and chooses entries as the engine's builder does, goes by that name.
#pragma once

#include "ToolMenus.h"

class FPopulateMenuBuilderWithToolMenuEntry
{
public:
	static UToolMenus* MakeMenus() { return new UToolMenus(); }
	static void DestroyMenus(UToolMenus* Menus) { delete Menus; }
	static const TArray<TPair<FName, TSharedRef<UToolMenu>>>& MenusOf(const UToolMenus& Menus) { return Menus.Menus; }

	static const FToolUIActionChoice& ActionOf(const FToolMenuEntry& Entry) { return Entry.Action; }

	/** Whether the engine's builder shows the entry: its action's visibility delegate, when it has one. */
	static bool IsVisible(const FToolMenuEntry& Entry, const FToolMenuContext& Context)
	{
		if (const FUIAction* UIAction = Entry.Action.GetUIAction())
		{
			return UIAction->IsVisible();
		}
		if (const FToolUIAction* ToolAction = Entry.Action.GetToolUIAction())
		{
			return !ToolAction->IsActionVisibleDelegate.IsBound() ||
				   ToolAction->IsActionVisibleDelegate.Execute(Context);
		}
		return true;
	}

	/** Whether a click would run the action: its can-execute delegate, when it has one. */
	static bool CanExecute(const FToolMenuEntry& Entry, const FToolMenuContext& Context)
	{
		if (const FUIAction* UIAction = Entry.Action.GetUIAction())
		{
			return UIAction->CanExecute();
		}
		if (const FToolUIAction* ToolAction = Entry.Action.GetToolUIAction())
		{
			return ToolAction->ExecuteAction.IsBound() &&
				   (!ToolAction->CanExecuteAction.IsBound() || ToolAction->CanExecuteAction.Execute(Context));
		}
		return false;
	}

	/** Runs the action as a click on the entry does; true when it ran. */
	static bool Execute(const FToolMenuEntry& Entry, const FToolMenuContext& Context)
	{
		if (const FUIAction* UIAction = Entry.Action.GetUIAction())
		{
			return UIAction->Execute();
		}
		if (const FToolUIAction* ToolAction = Entry.Action.GetToolUIAction())
		{
			if (CanExecute(Entry, Context))
			{
				ToolAction->ExecuteAction.Execute(Context);
				return true;
			}
		}
		return false;
	}
};
