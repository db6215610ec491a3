// Stands in for the engine's ToolMenuDelegates.h: actions that take the menu's context, and the choice of action
// kinds an entry accepts.
#pragma once

#include "CoreMinimal.h"
#include "Framework/Commands/UIAction.h"
#include "ToolMenuMisc.h"

DECLARE_DELEGATE_OneParam(FToolMenuExecuteAction, const FToolMenuContext&)
DECLARE_DELEGATE_RetVal_OneParam(bool, FToolMenuCanExecuteAction, const FToolMenuContext&)
DECLARE_DELEGATE_RetVal_OneParam(bool, FToolMenuIsActionButtonVisible, const FToolMenuContext&)

/** An action that is handed the menu's context. */
struct FToolUIAction
{
	FToolUIAction() = default;
	FToolUIAction(const FToolMenuExecuteAction& InExecuteAction)
		: ExecuteAction(InExecuteAction)
	{
	}
	FToolUIAction(const FToolMenuExecuteAction& InExecuteAction, const FToolMenuCanExecuteAction& InCanExecuteAction)
		: ExecuteAction(InExecuteAction)
		, CanExecuteAction(InCanExecuteAction)
	{
	}

	FToolMenuExecuteAction ExecuteAction;
	FToolMenuCanExecuteAction CanExecuteAction;
	FToolMenuIsActionButtonVisible IsActionVisibleDelegate;
};

/** The action of an entry, of whichever kind was given; FUIAction and FExecuteAction convert to it. */
struct FToolUIActionChoice
{
	FToolUIActionChoice() = default;
	FToolUIActionChoice(const FUIAction& InAction)
		: Action(InAction)
		, bHasAction(true)
	{
	}
	FToolUIActionChoice(const FExecuteAction& InAction)
		: Action(FUIAction(InAction))
		, bHasAction(true)
	{
	}
	FToolUIActionChoice(const FToolUIAction& InAction)
		: ToolAction(InAction)
		, bHasToolAction(true)
	{
	}

	/** The plain action, when that is what was given. */
	const FUIAction* GetUIAction() const { return bHasAction ? &Action : nullptr; }
	const FToolUIAction* GetToolUIAction() const { return bHasToolAction ? &ToolAction : nullptr; }

private:
	FUIAction Action;
	FToolUIAction ToolAction;
	bool bHasAction = false;
	bool bHasToolAction = false;
};
