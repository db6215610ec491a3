// Stands in for the engine's Framework/Commands/UIAction.h: what a menu entry or command does, and when it may.
#pragma once

#include "CoreMinimal.h"
#include "Styling/SlateTypes.h"

DECLARE_DELEGATE(FExecuteAction)
DECLARE_DELEGATE_RetVal(bool, FCanExecuteAction)
DECLARE_DELEGATE_RetVal(ECheckBoxState, FGetActionCheckState)
DECLARE_DELEGATE_RetVal(bool, FIsActionChecked)
DECLARE_DELEGATE_RetVal(bool, FIsActionButtonVisible)

enum class EUIActionRepeatMode
{
	RepeatDisabled,
	RepeatEnabled,
};

struct FUIAction
{
	FExecuteAction ExecuteAction;
	FCanExecuteAction CanExecuteAction;
	FGetActionCheckState GetActionCheckState;
	FIsActionButtonVisible IsActionVisibleDelegate;
	FIsActionChecked IsCheckedDelegate;
	EUIActionRepeatMode RepeatMode = EUIActionRepeatMode::RepeatDisabled;

	FUIAction() = default;
	FUIAction(FExecuteAction InitExecuteAction, EUIActionRepeatMode InitRepeatMode = EUIActionRepeatMode::RepeatDisabled)
		: ExecuteAction(InitExecuteAction)
		, RepeatMode(InitRepeatMode)
	{
	}
	FUIAction(FExecuteAction InitExecuteAction, FCanExecuteAction InitCanExecuteAction,
		EUIActionRepeatMode InitRepeatMode = EUIActionRepeatMode::RepeatDisabled)
		: ExecuteAction(InitExecuteAction)
		, CanExecuteAction(InitCanExecuteAction)
		, RepeatMode(InitRepeatMode)
	{
	}
	FUIAction(FExecuteAction InitExecuteAction, FCanExecuteAction InitCanExecuteAction,
		FIsActionChecked InitIsCheckedDelegate, EUIActionRepeatMode InitRepeatMode = EUIActionRepeatMode::RepeatDisabled)
		: ExecuteAction(InitExecuteAction)
		, CanExecuteAction(InitCanExecuteAction)
		, IsCheckedDelegate(InitIsCheckedDelegate)
		, RepeatMode(InitRepeatMode)
	{
	}
	FUIAction(FExecuteAction InitExecuteAction, FCanExecuteAction InitCanExecuteAction,
		FIsActionChecked InitIsCheckedDelegate, FIsActionButtonVisible InitIsActionVisibleDelegate,
		EUIActionRepeatMode InitRepeatMode = EUIActionRepeatMode::RepeatDisabled)
		: ExecuteAction(InitExecuteAction)
		, CanExecuteAction(InitCanExecuteAction)
		, IsActionVisibleDelegate(InitIsActionVisibleDelegate)
		, IsCheckedDelegate(InitIsCheckedDelegate)
		, RepeatMode(InitRepeatMode)
	{
	}

	/** True when no can-execute delegate is bound, else its answer. */
	bool CanExecute() const { return CanExecuteAction.IsBound() ? CanExecuteAction.Execute() : true; }
	/** Runs the action when it may; true when it ran. */
	bool Execute() const
	{
		if (CanExecute())
		{
			return ExecuteAction.ExecuteIfBound();
		}
		return false;
	}
	/** Whether the entry shows; true when no visibility delegate is bound. */
	bool IsVisible() const { return IsActionVisibleDelegate.IsBound() ? IsActionVisibleDelegate.Execute() : true; }
	bool IsBound() const { return ExecuteAction.IsBound(); }
	/** The check state: from GetActionCheckState, else from the is-checked delegate, else unchecked. */
	ECheckBoxState GetCheckState() const
	{
		if (GetActionCheckState.IsBound())
		{
			return GetActionCheckState.Execute();
		}
		if (IsCheckedDelegate.IsBound())
		{
			return IsCheckedDelegate.Execute() ? ECheckBoxState::Checked : ECheckBoxState::Unchecked;
		}
		return ECheckBoxState::Unchecked;
	}
};
