// Stands in for the engine's ToolMenuEntry.h: one entry of a menu section.
#pragma once

#include "CoreMinimal.h"
#include "Framework/Commands/UICommandInfo.h"
#include "Misc/Attribute.h"
#include "Textures/SlateIcon.h"
#include "ToolMenuDelegates.h"
#include "ToolMenuMisc.h"
#include "ToolMenuOwner.h"

struct FToolMenuEntry
{
	FToolMenuEntry() = default;

	static FToolMenuEntry InitMenuEntry(const FName InName, const TAttribute<FText>& InLabel,
		const TAttribute<FText>& InToolTip, const TAttribute<FSlateIcon>& InIcon, const FToolUIActionChoice& InAction,
		const EUserInterfaceActionType UserInterfaceActionType = EUserInterfaceActionType::Button,
		const FName InTutorialHighlightName = FName());
	static FToolMenuEntry InitSeparator(const FName InName);

	/** The action, as given. */
	const FToolUIActionChoice& GetAction() const { return Action; }
	void SetAction(const FToolUIActionChoice& InAction) { Action = InAction; }
	bool IsSeparator() const { return Type == EMultiBlockType::Separator; }
	/** Whether the entry is shown, by its action's visibility delegate. */
	bool IsVisible(const FToolMenuContext& Context = FToolMenuContext()) const;
	/** Whether the entry can be chosen now, by its action's can-execute delegate. */
	bool CanExecute(const FToolMenuContext& Context = FToolMenuContext()) const;
	/** Runs the action as a click on the entry does; true when it ran. */
	bool Execute(const FToolMenuContext& Context = FToolMenuContext()) const;

	FName Name;
	FToolMenuOwner Owner;
	EMultiBlockType Type = EMultiBlockType::None;
	EUserInterfaceActionType UserInterfaceActionType = EUserInterfaceActionType::Button;
	FName TutorialHighlightName;
	TAttribute<FText> Label;
	TAttribute<FText> ToolTip;
	TAttribute<FSlateIcon> Icon;
	FToolMenuInsert InsertPosition;

private:
	FToolUIActionChoice Action;
};
