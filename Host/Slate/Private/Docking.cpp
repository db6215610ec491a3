// The application, the global tab manager and its spawners, dock tabs, workspace groups and menu actions.
#include "Framework/Application/SlateApplication.h"
#include "Framework/Docking/TabManager.h"
#include "HostTabManager.h"
#include "Framework/Docking/WorkspaceItem.h"
#include "HAL/PlatformTime.h"
#include "HostFrameHooks.h"
#include "HostSlatePaint.h"
#include "Styling/AppStyle.h"
#include "Widgets/Docking/SDockTab.h"
#include <algorithm>

namespace
{
/** The application's state: whether it runs, and the application object while it does. */
struct FHostApplicationState
{
	bool bShutDown = false;
	FSlateApplication* Application = nullptr;
};

FHostApplicationState& ApplicationState()
{
	static FHostApplicationState State;
	return State;
}
} // namespace

FSlateApplication::FSlateApplication()
{
	PaintHookId = HostFrameHooks::AddHook([this](float DeltaSeconds) { Frame(DeltaSeconds); });
}

FSlateApplication::~FSlateApplication()
{
	HostFrameHooks::RemoveHook(PaintHookId);
}

bool FSlateApplication::IsInitialized()
{
	return !ApplicationState().bShutDown;
}

FSlateApplication& FSlateApplication::Get()
{
	FHostApplicationState& State = ApplicationState();
	check(!State.bShutDown);
	if (!State.Application)
	{
		State.Application = new FSlateApplication();
	}
	return *State.Application;
}

void FSlateApplication::Create()
{
	ApplicationState().bShutDown = false;
	Get();
}

void FSlateApplication::Shutdown(bool /*bShutdownPlatform*/)
{
	FHostApplicationState& State = ApplicationState();
	if (State.bShutDown)
	{
		return;
	}
	HostTabManager::CloseAllTabs();
	for (const TSharedRef<SWidget>& Root : HostSlate::GetRoots())
	{
		HostSlate::RemoveRoot(Root.Get());
	}
	delete State.Application;
	State.Application = nullptr;
	State.bShutDown = true;
}

void FSlateApplication::HostEnsurePainting()
{
	if (IsInitialized())
	{
		Get();
	}
}

void FSlateApplication::Frame(float DeltaSeconds)
{
	LastDeltaTime = DeltaSeconds;
	HostSlate::PaintRoots(DeltaSeconds);
}

void FSlateApplication::Tick()
{
	Frame(0.0f);
}

double FSlateApplication::GetCurrentTime() const
{
	return FPlatformTime::Seconds();
}

const void* FSlateApplication::FindBestParentWindowHandleForDialogs(
	const TSharedPtr<SWidget>& /*InWidget*/, const ESlateParentWindowSearchMethod /*InParentWindowSearchMethod*/)
{
	return nullptr;
}

TSharedPtr<SWindow> FSlateApplication::FindBestParentWindowForDialogs(
	const TSharedPtr<SWidget>& /*InWidget*/, const ESlateParentWindowSearchMethod /*InParentWindowSearchMethod*/)
{
	return GetActiveTopLevelWindow();
}

TSharedPtr<SWindow> FSlateApplication::GetActiveTopLevelWindow() const
{
	TSharedPtr<SWindow> Latest;
	for (const TSharedRef<SWidget>& Root : HostSlate::GetRoots())
	{
		if (dynamic_cast<SWindow*>(&Root.Get()) != nullptr)
		{
			Latest = StaticCastSharedRef<SWindow>(Root);
		}
	}
	return Latest;
}

TSharedRef<SWindow> FSlateApplication::AddWindow(TSharedRef<SWindow> InSlateWindow, const bool /*bShowImmediately*/)
{
	HostSlate::AddRoot(InSlateWindow);
	return InSlateWindow;
}

void FSlateApplication::RequestDestroyWindow(TSharedRef<SWindow> WindowToDestroy)
{
	HostSlate::RemoveRoot(WindowToDestroy.Get());
}

void FSlateApplication::DestroyWindowImmediately(TSharedRef<SWindow> WindowToDestroy)
{
	HostSlate::RemoveRoot(WindowToDestroy.Get());
}

bool FSlateApplication::SetKeyboardFocus(const TSharedPtr<SWidget>& OptionalWidgetToFocus, EFocusCause /*Reason*/)
{
	FocusedWidget = OptionalWidgetToFocus;
	return OptionalWidgetToFocus.IsValid();
}

void FSlateApplication::ClearKeyboardFocus(const EFocusCause /*Reason*/)
{
	FocusedWidget.Reset();
}

FWorkspaceItem::FWorkspaceItem(
	const FText& InDisplayName, const FText& InTooltipText, const FSlateIcon& InIcon, const bool bInSortChildren)
	: DisplayName(InDisplayName)
	, TooltipText(InTooltipText)
	, Icon(InIcon)
	, bSortChildren(bInSortChildren)
{
}

TSharedRef<FWorkspaceItem> FWorkspaceItem::NewGroup(const FText& DisplayName, const FSlateIcon& Icon, const bool bSortChildren)
{
	return MakeShareable(new FWorkspaceItem(DisplayName, FText::GetEmpty(), Icon, bSortChildren));
}

TSharedRef<FWorkspaceItem> FWorkspaceItem::NewGroup(
	const FText& DisplayName, const FText& TooltipText, const FSlateIcon& Icon, const bool bSortChildren)
{
	return MakeShareable(new FWorkspaceItem(DisplayName, TooltipText, Icon, bSortChildren));
}

TSharedRef<FWorkspaceItem> FWorkspaceItem::AddGroup(const FText& InDisplayName, const FSlateIcon& InIcon, const bool InSortChildren)
{
	return AddGroup(InDisplayName, FText::GetEmpty(), InIcon, InSortChildren);
}

TSharedRef<FWorkspaceItem> FWorkspaceItem::AddGroup(
	const FText& InDisplayName, const FText& InTooltipText, const FSlateIcon& InIcon, const bool InSortChildren)
{
	TSharedRef<FWorkspaceItem> Group = NewGroup(InDisplayName, InTooltipText, InIcon, InSortChildren);
	AddItem(Group);
	return Group;
}

void FWorkspaceItem::AddItem(const TSharedRef<FWorkspaceItem>& ItemToAdd)
{
	if (TSharedPtr<FWorkspaceItem> OldParent = ItemToAdd->ParentItem.Pin())
	{
		OldParent->RemoveItem(ItemToAdd);
	}
	ItemToAdd->ParentItem = AsShared();
	ChildItems.Add(ItemToAdd);
	if (bSortChildren)
	{
		SortChildren();
	}
}

void FWorkspaceItem::RemoveItem(const TSharedRef<FWorkspaceItem>& ItemToRemove)
{
	if (ChildItems.Remove(ItemToRemove) > 0 && ItemToRemove->ParentItem.HasSameObject(this))
	{
		ItemToRemove->ParentItem.Reset();
	}
}

void FWorkspaceItem::ClearItems()
{
	for (const TSharedRef<FWorkspaceItem>& Child : ChildItems)
	{
		Child->ParentItem.Reset();
	}
	ChildItems.Empty();
}

void FWorkspaceItem::SortChildren()
{
	std::stable_sort(ChildItems.begin(), ChildItems.end(),
		[](const TSharedRef<FWorkspaceItem>& A, const TSharedRef<FWorkspaceItem>& B)
		{ return A->DisplayName.ToString().Compare(B->DisplayName.ToString(), ESearchCase::IgnoreCase) < 0; });
}

FTabSpawnerEntry::FTabSpawnerEntry(const FName& InTabType, const FOnSpawnTab& InSpawnTabMethod, const FCanSpawnTab& InCanSpawnTab)
	: FWorkspaceItem(FText::GetEmpty(), FText::GetEmpty(), FSlateIcon(), false)
	, TabType(InTabType)
	, OnSpawnTab(InSpawnTabMethod)
	, CanSpawnTab(InCanSpawnTab)
	, MenuType(ETabSpawnerMenuType::Enabled)
{
}

FTabSpawnerEntry& FTabSpawnerEntry::SetGroup(const TSharedRef<FWorkspaceItem>& InGroup)
{
	InGroup->AddItem(SharedThis(this));
	return *this;
}

TSharedPtr<FTabSpawnerEntry> FTabSpawnerEntry::AsSpawnerEntry()
{
	return SharedThis(this);
}

FTabSpawnerEntry& FTabManager::RegisterTabSpawner(const FName TabId, const FOnSpawnTab& OnSpawnTab, const FCanSpawnTab& CanSpawnTab)
{
	UnregisterTabSpawner(TabId);
	TSharedRef<FTabSpawnerEntry> Entry = MakeShared<FTabSpawnerEntry>(TabId, OnSpawnTab, CanSpawnTab);
	TabSpawners.Add(Entry);
	return Entry.Get();
}

namespace
{
/**
 * Removes the spawner of that id from a list, and only from the list: as the engine's tab managers do, the spawner's
 * item stays in the menu group it was put in (the group holds it). Menus skip it, since they list registered spawners
 * only; the owner takes it out of its group itself.
 */
bool RemoveSpawner(TArray<TSharedRef<FTabSpawnerEntry>>& Spawners, FName TabId)
{
	for (int32 Index = 0; Index < Spawners.Num(); ++Index)
	{
		if (Spawners[Index]->GetTabType() == TabId)
		{
			Spawners.RemoveAt(Index);
			return true;
		}
	}
	return false;
}

TSharedPtr<FTabSpawnerEntry> FindIn(const TArray<TSharedRef<FTabSpawnerEntry>>& Spawners, FName TabId)
{
	for (const TSharedRef<FTabSpawnerEntry>& Entry : Spawners)
	{
		if (Entry->GetTabType() == TabId)
		{
			return Entry;
		}
	}
	return TSharedPtr<FTabSpawnerEntry>();
}
} // namespace

bool FTabManager::UnregisterTabSpawner(const FName TabId)
{
	return RemoveSpawner(TabSpawners, TabId);
}

void FTabManager::UnregisterAllTabSpawners()
{
	while (TabSpawners.Num() > 0)
	{
		RemoveSpawner(TabSpawners, TabSpawners[0]->GetTabType());
	}
}

bool FTabManager::HasTabSpawner(FName TabId) const
{
	return FindSpawner(TabId).IsValid();
}

TSharedPtr<FTabSpawnerEntry> FTabManager::FindSpawner(FName TabId) const
{
	return FindIn(TabSpawners, TabId);
}

TSharedPtr<SDockTab> FTabManager::FindExistingLiveTab(const FTabId& TabId) const
{
	for (const TWeakPtr<SDockTab>& Weak : LiveTabs)
	{
		TSharedPtr<SDockTab> Tab = Weak.Pin();
		if (Tab.IsValid() && Tab->HostIsOpen() && Tab->GetLayoutIdentifier() == TabId)
		{
			return Tab;
		}
	}
	return TSharedPtr<SDockTab>();
}

TSharedPtr<SDockTab> FTabManager::TryInvokeTab(const FTabId& TabId, bool bInvokeAsInactive)
{
	if (TSharedPtr<SDockTab> Existing = FindExistingLiveTab(TabId))
	{
		if (!bInvokeAsInactive)
		{
			Existing->ActivateInParent(ETabActivationCause::SetDirectly);
		}
		return Existing;
	}
	TSharedPtr<FTabSpawnerEntry> Spawner = FindSpawner(TabId.TabType);
	if (!Spawner.IsValid() || !Spawner->GetSpawnTabMethod().IsBound())
	{
		return TSharedPtr<SDockTab>();
	}
	const FSpawnTabArgs Args(TSharedPtr<SWindow>(), TabId);
	if (Spawner->GetCanSpawnTabMethod().IsBound() && !Spawner->GetCanSpawnTabMethod().Execute(Args))
	{
		return TSharedPtr<SDockTab>();
	}
	TSharedRef<SDockTab> NewTab = Spawner->GetSpawnTabMethod().Execute(Args);
	NewTab->HostSetLayoutIdentifier(TabId);
	if (NewTab->GetTabLabel().IsEmpty())
	{
		NewTab->SetLabel(Spawner->GetDisplayName());
	}
	NewTab->HostSetOpen(true);
	LiveTabs.RemoveAll([](const TWeakPtr<SDockTab>& Weak) { return !Weak.IsValid(); });
	LiveTabs.Add(NewTab);
	// The docking area owns open tabs; the UI paints them each frame until they close.
	HostSlate::AddRoot(NewTab);
	FSlateApplication::HostEnsurePainting();
	if (!bInvokeAsInactive || !ForegroundTab.IsValid())
	{
		ForegroundTab = NewTab;
	}
	return NewTab;
}

TArray<TSharedRef<SDockTab>> FTabManager::GetOpenTabs() const
{
	TArray<TSharedRef<SDockTab>> Open;
	for (const TWeakPtr<SDockTab>& Weak : LiveTabs)
	{
		TSharedPtr<SDockTab> Tab = Weak.Pin();
		if (Tab.IsValid() && Tab->HostIsOpen())
		{
			Open.Add(Tab.ToSharedRef());
		}
	}
	return Open;
}

void FTabManager::CloseAllTabs()
{
	for (const TSharedRef<SDockTab>& Tab : GetOpenTabs())
	{
		Tab->RequestCloseTab();
	}
}

void FTabManager::OnTabClosed(const SDockTab& ClosedTab)
{
	LiveTabs.RemoveAll([&ClosedTab](const TWeakPtr<SDockTab>& Weak) { return !Weak.IsValid() || Weak.HasSameObject(&ClosedTab); });
	if (ForegroundTab.HasSameObject(&ClosedTab))
	{
		ForegroundTab.Reset();
		if (LiveTabs.Num() > 0)
		{
			ForegroundTab = LiveTabs.Last();
		}
	}
}

const TSharedRef<FGlobalTabmanager>& FGlobalTabmanager::Get()
{
	// Never destroyed: modules unregister their spawners at exit, after static destruction may have begun.
	static TSharedRef<FGlobalTabmanager>* Instance = new TSharedRef<FGlobalTabmanager>(MakeShareable(new FGlobalTabmanager()));
	return *Instance;
}

FTabSpawnerEntry& FGlobalTabmanager::RegisterNomadTabSpawner(const FName TabId, const FOnSpawnTab& OnSpawnTab, const FCanSpawnTab& CanSpawnTab)
{
	RemoveSpawner(NomadTabSpawners, TabId);
	TSharedRef<FTabSpawnerEntry> Entry = MakeShared<FTabSpawnerEntry>(TabId, OnSpawnTab, CanSpawnTab);
	NomadTabSpawners.Add(Entry);
	return Entry.Get();
}

void FGlobalTabmanager::UnregisterNomadTabSpawner(const FName TabId)
{
	RemoveSpawner(NomadTabSpawners, TabId);
}

bool FGlobalTabmanager::HasNomadTabSpawner(FName TabId) const
{
	return FindIn(NomadTabSpawners, TabId).IsValid();
}

TSharedPtr<FTabSpawnerEntry> FGlobalTabmanager::FindSpawner(FName TabId) const
{
	TSharedPtr<FTabSpawnerEntry> Found = FindIn(NomadTabSpawners, TabId);
	return Found.IsValid() ? Found : FTabManager::FindSpawner(TabId);
}

SDockTab::SDockTab() = default;

void SDockTab::Construct(const FArguments& InArgs)
{
	TabRole = InArgs._TabRole;
	LabelAttribute.Assign(InArgs._Label);
	OnTabClosed = InArgs._OnTabClosed;
	OnTabActivated = InArgs._OnTabActivated;
	OnCanCloseTab = InArgs._OnCanCloseTab;
	SBorder::Construct(SBorder::FArguments()
						   .Padding(InArgs._ContentPadding)
						   .BorderImage(FAppStyle::Get().GetBrush("Docking.Tab.ContentAreaBrush"))
							   [InArgs._Content.Widget]);
}

void SDockTab::SetContent(TSharedRef<SWidget> InContent)
{
	SBorder::SetContent(InContent);
}

bool SDockTab::IsForeground() const
{
	return bIsOpen && FGlobalTabmanager::Get()->GetForegroundTab().Get() == this;
}

void SDockTab::ActivateInParent(ETabActivationCause InActivationCause)
{
	if (!bIsOpen)
	{
		return;
	}
	FGlobalTabmanager::Get()->Activate(SharedThis(this));
	OnTabActivated.ExecuteIfBound(SharedThis(this), InActivationCause);
}

bool SDockTab::RequestCloseTab()
{
	if (!bIsOpen)
	{
		return false;
	}
	if (OnCanCloseTab.IsBound() && !OnCanCloseTab.Execute())
	{
		return false;
	}
	// Keep the tab alive through its own closing; the docking area drops its reference below.
	const TSharedRef<SDockTab> Self = SharedThis(this);
	bIsOpen = false;
	FGlobalTabmanager::Get()->OnTabClosed(*this);
	HostSlate::RemoveRoot(*this);
	OnTabClosed.ExecuteIfBound(Self);
	// Closing releases the content, as the docking area does in the editor.
	ClearContent();
	return true;
}

struct FHostTabManagerAccess
{
	static TSharedPtr<FTabSpawnerEntry> FindSpawner(FName TabId)
	{
		const FTabManager& Manager = *FGlobalTabmanager::Get();
		return Manager.FindSpawner(TabId);
	}
	static TArray<TSharedRef<SDockTab>> GetOpenTabs() { return FGlobalTabmanager::Get()->GetOpenTabs(); }
	static TSharedPtr<SDockTab> GetForegroundTab() { return FGlobalTabmanager::Get()->GetForegroundTab(); }
	static void CloseAllTabs() { FGlobalTabmanager::Get()->CloseAllTabs(); }
};

namespace HostTabManager
{
TSharedPtr<FTabSpawnerEntry> FindSpawner(FName TabId)
{
	return FHostTabManagerAccess::FindSpawner(TabId);
}

TArray<TSharedRef<SDockTab>> GetOpenTabs()
{
	return FHostTabManagerAccess::GetOpenTabs();
}

TSharedPtr<SDockTab> GetForegroundTab()
{
	return FHostTabManagerAccess::GetForegroundTab();
}

void CloseAllTabs()
{
	FHostTabManagerAccess::CloseAllTabs();
}
} // namespace HostTabManager
