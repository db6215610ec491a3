// Stands in for the engine's Framework/Docking/TabManager.h: tab ids, spawners and the global tab manager that
// opens nomad tabs. The stand-in's docking area is a list of open tabs that the UI paints each frame.
#pragma once

#include "CoreMinimal.h"
#include "Framework/Docking/WorkspaceItem.h"
#include "Misc/Attribute.h"
#include "Textures/SlateIcon.h"

class SDockTab;
class SWindow;

/** Identifies a tab: its type name and, for several tabs of one type, an instance number. */
struct FTabId
{
	FTabId()
		: InstanceId(INDEX_NONE)
	{
	}
	/** Converts from a type name (not explicit, as in the engine). */
	FTabId(const FName InTabType)
		: TabType(InTabType)
		, InstanceId(INDEX_NONE)
	{
	}
	FTabId(const FName InTabType, const int32 InInstanceId)
		: TabType(InTabType)
		, InstanceId(InInstanceId)
	{
	}

	/** Type names compare without regard to case. */
	bool operator==(const FTabId& Other) const { return TabType == Other.TabType && InstanceId == Other.InstanceId; }
	bool operator!=(const FTabId& Other) const { return !(*this == Other); }
	FString ToString() const
	{
		return InstanceId == INDEX_NONE ? TabType.ToString() : FString::Printf(TEXT("%s : %d"), *TabType.ToString(), (int)InstanceId);
	}
	FText ToText() const { return FText::FromString(ToString()); }

	FName TabType;
	int32 InstanceId;
};

/** What a spawner gets when asked for a tab. */
class FSpawnTabArgs
{
public:
	FSpawnTabArgs(const TSharedPtr<SWindow>& InOwnerWindow, const FTabId& InTabBeingSpawenedId)
		: OwnerWindow(InOwnerWindow)
		, TabIdBeingSpawned(InTabBeingSpawenedId)
	{
	}
	const TSharedPtr<SWindow>& GetOwnerWindow() const { return OwnerWindow; }
	const FTabId& GetTabId() const { return TabIdBeingSpawned; }

private:
	TSharedPtr<SWindow> OwnerWindow;
	FTabId TabIdBeingSpawned;
};

DECLARE_DELEGATE_RetVal_OneParam(TSharedRef<SDockTab>, FOnSpawnTab, const FSpawnTabArgs&)
DECLARE_DELEGATE_RetVal_OneParam(bool, FCanSpawnTab, const FSpawnTabArgs&)
DECLARE_DELEGATE_RetVal_OneParam(TSharedPtr<SDockTab>, FOnFindTabToReuse, const FTabId&)

namespace ETabSpawnerMenuType
{
enum Type
{
	Enabled,
	Disabled,
	Hidden,
};
}

/** A registered way to make one kind of tab, with what the Window/Tools menus show for it. */
struct FTabSpawnerEntry : public FWorkspaceItem
{
	FTabSpawnerEntry(const FName& InTabType, const FOnSpawnTab& InSpawnTabMethod, const FCanSpawnTab& InCanSpawnTab);

	FTabSpawnerEntry& SetIcon(const FSlateIcon& InIcon)
	{
		Icon = InIcon;
		return *this;
	}
	FTabSpawnerEntry& SetDisplayNameAttribute(const TAttribute<FText>& InLegibleName)
	{
		DisplayName = InLegibleName.Get();
		return *this;
	}
	FTabSpawnerEntry& SetDisplayName(const FText& InLegibleName)
	{
		DisplayName = InLegibleName;
		return *this;
	}
	FTabSpawnerEntry& SetTooltipText(const FText& InTooltipText)
	{
		TooltipText = InTooltipText;
		return *this;
	}
	/** Puts the entry under a menu group: InGroup->AddItem(this). */
	FTabSpawnerEntry& SetGroup(const TSharedRef<FWorkspaceItem>& InGroup);
	FTabSpawnerEntry& SetMenuType(const TAttribute<ETabSpawnerMenuType::Type>& InMenuType)
	{
		MenuType = InMenuType;
		return *this;
	}
	FTabSpawnerEntry& SetAutoGenerateMenuEntry(bool bInAutoGenerateMenuEntry)
	{
		bAutoGenerateMenuEntry = bInAutoGenerateMenuEntry;
		return *this;
	}
	FTabSpawnerEntry& SetReuseTabMethod(const FOnFindTabToReuse& InReuseTabMethod)
	{
		OnFindTabToReuse = InReuseTabMethod;
		return *this;
	}
	FTabSpawnerEntry& SetCanSidebarTab(bool bInCanSidebarTab)
	{
		bCanSidebarTab = bInCanSidebarTab;
		return *this;
	}

	virtual TSharedPtr<FTabSpawnerEntry> AsSpawnerEntry() override;

	FName GetTabType() const { return TabType; }
	ETabSpawnerMenuType::Type GetMenuType() const { return MenuType.Get(); }
	bool GetAutoGenerateMenuEntry() const { return bAutoGenerateMenuEntry; }
	const FOnSpawnTab& GetSpawnTabMethod() const { return OnSpawnTab; }
	const FCanSpawnTab& GetCanSpawnTabMethod() const { return CanSpawnTab; }

private:
	FName TabType;
	FOnSpawnTab OnSpawnTab;
	FCanSpawnTab CanSpawnTab;
	FOnFindTabToReuse OnFindTabToReuse;
	TAttribute<ETabSpawnerMenuType::Type> MenuType;
	bool bAutoGenerateMenuEntry = true;
	bool bCanSidebarTab = true;
};

class FTabManager : public TSharedFromThis<FTabManager>
{
public:
	virtual ~FTabManager() = default;

	FTabSpawnerEntry& RegisterTabSpawner(
		const FName TabId, const FOnSpawnTab& OnSpawnTab, const FCanSpawnTab& CanSpawnTab = FCanSpawnTab());
	bool UnregisterTabSpawner(const FName TabId);
	void UnregisterAllTabSpawners();
	bool HasTabSpawner(FName TabId) const;

	/**
	 * Brings the live tab with that id to the front and returns it; otherwise asks the spawner (when it exists and
	 * its can-spawn delegate, if bound, agrees) for a new tab, opens it and returns it; null when there is no
	 * spawner.
	 */
	virtual TSharedPtr<SDockTab> TryInvokeTab(const FTabId& TabId, bool bInvokeAsInactive = false);
	/** The open tab with that id, or null. */
	TSharedPtr<SDockTab> FindExistingLiveTab(const FTabId& TabId) const;

protected:
	FTabManager() = default;

	/** Finds a spawner among this manager's own. */
	virtual TSharedPtr<FTabSpawnerEntry> FindSpawner(FName TabId) const;

	TArray<TSharedRef<FTabSpawnerEntry>> TabSpawners;
	TArray<TWeakPtr<SDockTab>> LiveTabs;
	TWeakPtr<SDockTab> ForegroundTab;

private:
	// The stand-in's docking area: what tabs tell their manager, and what tests read through HostTabManager.h.
	// Private, so that code written against the engine cannot reach them.
	friend class SDockTab;
	friend struct FHostTabManagerAccess;

	TArray<TSharedRef<SDockTab>> GetOpenTabs() const;
	TSharedPtr<SDockTab> GetForegroundTab() const { return ForegroundTab.Pin(); }
	void CloseAllTabs();
	void Activate(const TSharedRef<SDockTab>& Tab) { ForegroundTab = Tab; }
	void OnTabClosed(const SDockTab& ClosedTab);
};

class FGlobalTabmanager : public FTabManager
{
public:
	/** The editor's tab manager, made on first use; works without a Slate application. */
	static const TSharedRef<FGlobalTabmanager>& Get();

	/** Registers a spawner of tabs that live outside any editor (nomad tabs). */
	FTabSpawnerEntry& RegisterNomadTabSpawner(
		const FName TabId, const FOnSpawnTab& OnSpawnTab, const FCanSpawnTab& CanSpawnTab = FCanSpawnTab());
	/** Removes the spawner; tabs it opened stay open. */
	void UnregisterNomadTabSpawner(const FName TabId);
	bool HasNomadTabSpawner(FName TabId) const;
	TSharedPtr<SDockTab> GetActiveTab() const { return ForegroundTab.Pin(); }

protected:
	virtual TSharedPtr<FTabSpawnerEntry> FindSpawner(FName TabId) const override;

private:
	FGlobalTabmanager() = default;

	TArray<TSharedRef<FTabSpawnerEntry>> NomadTabSpawners;
};
