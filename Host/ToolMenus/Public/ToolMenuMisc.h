// Stands in for the engine's ToolMenuMisc.h: where an entry or section goes, and the context a menu is shown in.
#pragma once

#include "CoreMinimal.h"

enum class EToolMenuInsertType : uint8
{
	Default,
	Before,
	After,
	First,
};

struct FToolMenuInsert
{
	FToolMenuInsert()
		: Position(EToolMenuInsertType::Default)
	{
	}
	FToolMenuInsert(FName InName, EToolMenuInsertType InPosition)
		: Name(InName)
		, Position(InPosition)
	{
	}
	bool IsDefault() const { return Position == EToolMenuInsertType::Default; }
	bool operator==(const FToolMenuInsert& Other) const { return Name == Other.Name && Position == Other.Position; }

	FName Name;
	EToolMenuInsertType Position;
};

/** What a menu is shown for (the engine passes the editor's selection and command lists here). */
struct FToolMenuContext
{
	FToolMenuContext() = default;
};

enum class EMultiBlockType : uint8
{
	None,
	ButtonRow,
	EditableText,
	Heading,
	MenuEntry,
	Separator,
	ToolBarButton,
	ToolBarComboButton,
	ToolBarSeparator,
	Widget,
};
