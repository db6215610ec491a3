// Stands in for the engine's Framework/Docking/WorkspaceItem.h: a node of the Window/Tools menu tree, a group or a
// tab spawner.
#pragma once

#include "CoreMinimal.h"
#include "Textures/SlateIcon.h"

struct FTabSpawnerEntry;

class FWorkspaceItem : public TSharedFromThis<FWorkspaceItem>
{
public:
	virtual ~FWorkspaceItem() = default;

	static TSharedRef<FWorkspaceItem> NewGroup(
		const FText& DisplayName, const FSlateIcon& Icon = FSlateIcon(), const bool bSortChildren = false);
	static TSharedRef<FWorkspaceItem> NewGroup(const FText& DisplayName, const FText& TooltipText,
		const FSlateIcon& Icon = FSlateIcon(), const bool bSortChildren = false);

	/** Adds a new group under this item and returns it. */
	TSharedRef<FWorkspaceItem> AddGroup(
		const FText& InDisplayName, const FSlateIcon& InIcon = FSlateIcon(), const bool InSortChildren = false);
	TSharedRef<FWorkspaceItem> AddGroup(const FText& InDisplayName, const FText& InTooltipText,
		const FSlateIcon& InIcon = FSlateIcon(), const bool InSortChildren = false);

	const FText& GetDisplayName() const { return DisplayName; }
	const FText& GetTooltipText() const { return TooltipText; }
	const FSlateIcon& GetIcon() const { return Icon; }
	const TArray<TSharedRef<FWorkspaceItem>>& GetChildItems() const { return ChildItems; }
	TSharedPtr<FWorkspaceItem> GetParent() const { return ParentItem.Pin(); }

	/** Adds an item (a group or a spawner) under this one; it leaves any group it was in before. */
	void AddItem(const TSharedRef<FWorkspaceItem>& ItemToAdd);
	void RemoveItem(const TSharedRef<FWorkspaceItem>& ItemToRemove);
	void ClearItems();
	void SortChildren();
	virtual TSharedPtr<FTabSpawnerEntry> AsSpawnerEntry() { return TSharedPtr<FTabSpawnerEntry>(); }

protected:
	FWorkspaceItem(const FText& InDisplayName, const FText& InTooltipText, const FSlateIcon& InIcon, const bool bInSortChildren);

	FText DisplayName;
	FText TooltipText;
	FSlateIcon Icon;
	bool bSortChildren;
	TArray<TSharedRef<FWorkspaceItem>> ChildItems;
	TWeakPtr<FWorkspaceItem> ParentItem;
};
