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
		const FName InTutorialHighlightName = NAME_None);
	static FToolMenuEntry InitSeparator(const FName InName);

	/** Runs the entry's action when it is an FToolUIAction that can execute (plain FUIActions are not run). */
	bool TryExecuteToolUIAction(const FToolMenuContext& InContext);

	friend struct FToolMenuSection;

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
	// As in the engine, the action is private; the stand-in's menu display (the engine's menu builder's name) reads
	// it to list and choose entries (see HostToolMenus.h).
	friend class UToolMenus;
	friend class FPopulateMenuBuilderWithToolMenuEntry;

	FToolUIActionChoice Action;
};
