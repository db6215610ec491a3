// Stands in for the engine's ToolMenu.h: one menu, a list of sections. A UObject in the engine; a plain object here.
#pragma once

#include "CoreMinimal.h"
#include "Framework/MultiBox/MultiBoxDefs.h"
#include "ToolMenuSection.h"

class UToolMenu
{
public:
	UToolMenu() = default;

	/** Adds a section, or returns the one of that name (updating its label when one is given). */
	FToolMenuSection& AddSection(const FName SectionName, const TAttribute<FText>& InLabel = TAttribute<FText>(),
		const FToolMenuInsert InPosition = FToolMenuInsert());
	/** The section of that name, added (owned by the menus' current owner) when missing. */
	FToolMenuSection& FindOrAddSection(const FName SectionName);
	FToolMenuSection* FindSection(const FName SectionName);
	void RemoveSection(const FName SectionName);
	/** Adds an entry to the named section, adding the section when missing. */
	FToolMenuEntry& AddMenuEntry(const FName SectionName, const FToolMenuEntry& Args);

	FName GetMenuName() const { return MenuName; }
	/** Whether the menu's owner registered it, as opposed to it having only been extended so far. */
	bool IsRegistered() const { return bRegistered; }

	FName MenuName;
	FName MenuParent;
	EMultiBoxType MenuType = EMultiBoxType::Menu;
	TArray<FToolMenuSection> Sections;
	bool bRegistered = false;
};
