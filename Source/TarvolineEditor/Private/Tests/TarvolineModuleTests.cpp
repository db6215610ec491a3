// Automation test of the editor module: what start-up registers (the nomad tab and, once the tool menus are ready,
// the Tools entry), that shut-down leaves nothing behind and that this repeats, and that choosing the Tools entry
// opens one tab holding a fresh panel.

#include "CoreMinimal.h"
#include "Framework/Application/SlateApplication.h"
#include "Framework/Docking/TabManager.h"
#include "Misc/AutomationTest.h"
#include "STarvolinePanel.h"
#include "Styling/AppStyle.h"
#include "TarvolineTestHelpers.h"
#include "ToolMenus.h"
#include "Widgets/Docking/SDockTab.h"
#include "WorkspaceMenuStructure.h"
#include "WorkspaceMenuStructureModule.h"

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
#include "HostTabManager.h"
#include "HostToolMenus.h"
#endif

#if WITH_DEV_AUTOMATION_TESTS

namespace TarvolineModuleTest
{
using namespace TarvolineUiTest;

FToolMenuSection* FindToolsSection()
{
	UToolMenu* Menu = UToolMenus::Get()->FindMenu(ToolsMenuName);
	return Menu ? Menu->FindSection(TEXT("Tarvoline")) : nullptr;
}

FToolMenuEntry* FindToolsEntry()
{
	FToolMenuSection* Section = FindToolsSection();
	return Section ? Section->FindEntry(TEXT("OpenTarvoline")) : nullptr;
}

/** The items of the workspace's Tools group whose display name is the tab's title (the spawner puts itself there). */
TArray<TSharedRef<FWorkspaceItem>> PanelItemsInToolsGroup()
{
	return WorkspaceMenu::GetMenuStructure().GetToolsCategory()->GetChildItems().FilterByPredicate(
		[](const TSharedRef<FWorkspaceItem>& Item)
		{
			return IsPluginText(Item->GetDisplayName(), TEXT("TabTitle"));
		});
}

TSharedPtr<SDockTab> FindPanelTab()
{
	return FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(PanelTabName));
}

/** Closes every panel tab; how many there were. */
int32 ClosePanelTabs()
{
	int32 Closed = 0;
	for (TSharedPtr<SDockTab> Tab = FindPanelTab(); Tab.IsValid() && Tab->RequestCloseTab(); Tab = FindPanelTab())
	{
		++Closed;
	}
	return Closed;
}

/** The panel a tab holds; null when the tab holds something else. */
TSharedPtr<STarvolinePanel> PanelIn(const TSharedPtr<SDockTab>& Tab)
{
	const bool bPanel = Tab.IsValid() && Tab->GetContent()->GetType() == FName(TEXT("STarvolinePanel"));
	return bPanel ? StaticCastSharedRef<STarvolinePanel>(Tab->GetContent()) : TSharedPtr<STarvolinePanel>();
}

/** A text as "namespace:key 'text'; ", so that one comparison checks all three, case included. */
FString Described(const FText& Text)
{
	return FString::Printf(TEXT("%s:%s '%s'; "), *FTextInspector::GetNamespace(Text).Get(FString()),
		*FTextInspector::GetKey(Text).Get(FString()), *Text.ToString());
}

FString Described(const FSlateIcon& Icon)
{
	return Icon.GetStyleSetName().ToString() + TEXT("/") + Icon.GetStyleName().ToString() + TEXT("; ");
}

/** Checks that each thing a user finds after start-up is there Count times (1 when up, 0 when down). */
void TestRegistered(FAutomationTestBase* Test, const FString& When, int32 Count)
{
	Test->TestEqual(
		When + TEXT(": tab spawners"), FGlobalTabmanager::Get()->HasTabSpawner(PanelTabName) ? 1 : 0, Count);
	Test->TestEqual(When + TEXT(": tabs listed in the Tools group"), PanelItemsInToolsGroup().Num(), Count);
	Test->TestEqual(When + TEXT(": Tools sections"), FindToolsSection() ? 1 : 0, Count);
	Test->TestEqual(When + TEXT(": Tools entries"), FindToolsEntry() ? 1 : 0, Count);
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	// Each row of the Tools menu as the editor shows it is chosen in turn with no panel tab open: the editor adds rows
	// of its own for tab spawners in the Tools group, so a second way in can come from there as well as from an entry.
	int32 Opening = 0;
	for (int32 Row = 0; Row < HostToolMenus::ListMenu(ToolsMenuName).Num(); ++Row)
	{
		ClosePanelTabs();
		HostToolMenus::ChooseRow(ToolsMenuName, Row);
		Opening += FindPanelTab().IsValid() ? 1 : 0;
	}
	ClosePanelTabs();
	Test->TestEqual(When + TEXT(": Tools menu rows opening the tab"), Opening, Count);
#endif
}

/** Chooses the Tools entry: pressed in the stand-in; in an editor (actions are private) by the tab id it opens. */
bool ChooseToolsEntry()
{
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	return HostToolMenus::ChooseEntry(ToolsMenuName, TEXT("OpenTarvoline"));
#else
	return FindToolsEntry() != nullptr && FGlobalTabmanager::Get()->TryInvokeTab(FTabId(PanelTabName)).IsValid();
#endif
}

} // namespace TarvolineModuleTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineModuleRegistrationsTest, "Tarvoline.Module.Registrations",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineModuleRegistrationsTest::RunTest(const FString&)
{
	using namespace TarvolineModuleTest;
	// Choosing the menu rows opens panels, which would sign in with a stored key.
	const TSharedRef<TOptional<FString>> SavedKey = SetAsideStoredKey();
	// In an editor the module is always up: it is only restarted in place.
	const bool bWasUp = FModuleManager::Get().IsModuleLoaded(ModuleName);
	if (bWasUp)
	{
		StopModule();
	}
	TestRegistered(this, TEXT("before start-up"), 0);

	// Live coding and plug-in reloads start and stop the module many times in one editor session; each round must
	// leave exactly one of everything, never a second entry or a leftover.
	for (int32 Round = 1; Round <= 3; ++Round)
	{
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
		// Loaded early in the editor's start-up, the module gets its tab at once but its menu entry only when the
		// tool menus are ready.
		if (Round == 1)
		{
			HostToolMenus::BeginEngineStartup();
			StartModule();
			TestTrue(TEXT("tab registered at start-up, no Tools entry while the menus are not ready"),
				FGlobalTabmanager::Get()->HasTabSpawner(PanelTabName) && !FindToolsEntry());
			HostToolMenus::FinishEngineStartup();
		}
		else
#endif
		{
			StartModule();
		}
		TestRegistered(this, FString::Printf(TEXT("round %d, started"), Round), 1);
		StopModule();
		TestRegistered(this, FString::Printf(TEXT("round %d, stopped"), Round), 0);
	}

	// The tab as the Window menu and the Tools group show it, then the Tools menu's section and entry.
	StartModule();
	const TArray<TSharedRef<FWorkspaceItem>> Items = PanelItemsInToolsGroup();
	FToolMenuEntry* Entry = FindToolsEntry();
	if (TestTrue(TEXT("the tab's item and the Tools entry"), Items.Num() == 1 && Entry))
	{
		const FString Icon = FAppStyle::GetAppStyleSetName().ToString() + TEXT("/ClassIcon.AnimSequence; ");
		const FString Tip = TEXT("'Rig and animate a character from a sentence.'; ");
		const bool bButton = Entry->UserInterfaceActionType == EUserInterfaceActionType::Button;
		// Compared as TCHAR strings, which the engine's tests compare case-sensitively.
		TestEqual(TEXT("tab, Tools section and entry"),
			*(Described(Items[0]->GetDisplayName()) + Described(Items[0]->GetTooltipText()) +
				Described(Items[0]->GetIcon()) + Described(FindToolsSection()->Label.Get()) +
				Described(Entry->Label.Get()) + Described(Entry->ToolTip.Get()) + Described(Entry->Icon.Get()) +
				Entry->Owner.TryGetName().ToString() + (bButton ? TEXT(" button") : TEXT(" not a button"))),
			*(TEXT("Tarvoline:TabTitle 'Tarvoline'; Tarvoline:TabTip ") + Tip + Icon +
				TEXT("Tarvoline:Section 'Tarvoline'; Tarvoline:Open 'Tarvoline'; Tarvoline:OpenTip ") + Tip + Icon +
				TEXT("Tarvoline button")));
	}

	ClosePanelTabs();
	TestTrue(TEXT("the entry can be chosen"), ChooseToolsEntry());
	TSharedPtr<SDockTab> Tab = FindPanelTab();
	TSharedPtr<STarvolinePanel> Panel = PanelIn(Tab);
	if (TestTrue(
			TEXT("a nomad tab holding the panel opened"), Panel.IsValid() && Tab->GetTabRole() == ETabRole::NomadTab))
	{
		// Without a stored key the new panel waits for one and sends nothing.
		TestTrue(TEXT("new panel: signed out, idle, no status"),
			!Panel->GetAccount().IsSet() && !Panel->IsBusy() && Panel->GetStatus().IsEmpty());

		// Choosing it again brings the same tab, with the same panel and its state, to the front.
		TestTrue(TEXT("chosen again: the same tab and panel"),
			ChooseToolsEntry() && FindPanelTab() == Tab && PanelIn(FindPanelTab()) == Panel);
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
		TestTrue(TEXT("in front"), HostTabManager::GetForegroundTab() == Tab);
#endif

		// Closing the one tab ends its panel; the next choice builds a new one.
		const TWeakPtr<STarvolinePanel> FirstPanel = Panel;
		Panel.Reset();
		Tab.Reset();
		TestEqual(TEXT("panel tabs open, then closed"), ClosePanelTabs(), 1);
		TestFalse(TEXT("the panel went with its tab"), FirstPanel.IsValid());
		TestTrue(TEXT("chosen after closing: a new panel"), ChooseToolsEntry() && PanelIn(FindPanelTab()).IsValid());
	}
	ClosePanelTabs();

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	// At editor exit Slate is gone before the module shuts down: the module must not touch the tab manager then.
	FSlateApplication::Shutdown();
	StopModule();
	TestTrue(TEXT("the spawner is left alone once Slate is gone, the menu entry still removed"),
		FGlobalTabmanager::Get()->HasTabSpawner(PanelTabName) && !FindToolsEntry());
	FSlateApplication::Create();
	// What the module left behind: the spawner, and its item in the Tools group, which unregistering leaves.
	FGlobalTabmanager::Get()->UnregisterNomadTabSpawner(PanelTabName);
	for (const TSharedRef<FWorkspaceItem>& Item : PanelItemsInToolsGroup())
	{
		WorkspaceMenu::GetMenuStructure().GetToolsCategory()->RemoveItem(Item);
	}
#else
	StopModule();
#endif

	if (bWasUp)
	{
		StartModule();
	}
	RestoreStoredKeyStep(SavedKey);
	return true;
}

#endif // WITH_DEV_AUTOMATION_TESTS
