// Automation tests of the editor module: what start-up registers (the nomad tab and, once the tool menus are ready,
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

const TCHAR* const SentenceTip = TEXT("Rig and animate a character from a sentence.");

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
int32 CountInToolsGroup()
{
	int32 Count = 0;
	const IWorkspaceMenuStructure& Structure =
		FModuleManager::LoadModuleChecked<FWorkspaceMenuStructureModule>(TEXT("WorkspaceMenuStructure"))
			.GetWorkspaceMenuStructure();
	for (const TSharedRef<FWorkspaceItem>& Item : Structure.GetToolsCategory()->GetChildItems())
	{
		Count += IsPluginText(Item->GetDisplayName(), TEXT("TabTitle")) ? 1 : 0;
	}
	return Count;
}

bool HasSpawner()
{
	return FGlobalTabmanager::Get()->HasTabSpawner(PanelTabName);
}

TSharedPtr<SDockTab> FindPanelTab()
{
	return FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(PanelTabName));
}

void ClosePanelTabs()
{
	for (TSharedPtr<SDockTab> Tab = FindPanelTab(); Tab.IsValid(); Tab = FindPanelTab())
	{
		if (!Tab->RequestCloseTab())
		{
			break;
		}
	}
}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
/**
 * How many rows of the Tools menu, as the editor shows it, open the panel's tab, whatever they are called: each row is
 * chosen in turn with no panel tab open. The editor adds rows of its own for tab spawners in the Tools group, so a
 * second way in can come from there as well as from a menu entry.
 */
int32 CountToolsRowsOpeningTab()
{
	int32 Opening = 0;
	const int32 NumRows = HostToolMenus::ListMenu(ToolsMenuName).Num();
	for (int32 Row = 0; Row < NumRows; ++Row)
	{
		ClosePanelTabs();
		HostToolMenus::ChooseRow(ToolsMenuName, Row);
		Opening += FindPanelTab().IsValid() ? 1 : 0;
	}
	ClosePanelTabs();
	return Opening;
}
#endif

/** What a user finds in the editor right after start-up: the tab in the Tools group, the Tools entry, once each. */
void TestRegistered(FAutomationTestBase* Test, const FString& When)
{
	Test->TestTrue(When + TEXT(": tab spawner registered"), HasSpawner());
	Test->TestEqual(When + TEXT(": tab listed once in the Tools group"), CountInToolsGroup(), 1);
	Test->TestNotNull(*(When + TEXT(": Tools entry")), FindToolsEntry());
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	Test->TestEqual(When + TEXT(": one Tools menu row opens the tab"), CountToolsRowsOpeningTab(), 1);
#endif
}

void TestNothingLeft(FAutomationTestBase* Test, const FString& When)
{
	Test->TestFalse(When + TEXT(": no tab spawner"), HasSpawner());
	Test->TestEqual(When + TEXT(": not in the Tools group"), CountInToolsGroup(), 0);
	Test->TestNull(*(When + TEXT(": no Tools section")), FindToolsSection());
	Test->TestNull(*(When + TEXT(": no Tools entry")), FindToolsEntry());
}

/**
 * Chooses the Tools entry as a user would. The stand-in's menus press the entry itself, and only when it is shown and
 * its action can run. The engine keeps an entry's action private, so in an editor the test finds the entry and opens
 * the tab by the id its action opens.
 */
bool ChooseToolsEntry()
{
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	return HostToolMenus::ChooseEntry(ToolsMenuName, TEXT("OpenTarvoline"));
#else
	return FindToolsEntry() != nullptr && FGlobalTabmanager::Get()->TryInvokeTab(FTabId(PanelTabName)).IsValid();
#endif
}

/** The panel a tab holds; null when the tab holds something else. */
TSharedPtr<STarvolinePanel> PanelIn(const TSharedPtr<SDockTab>& Tab)
{
	if (!Tab.IsValid())
	{
		return nullptr;
	}
	const TSharedRef<SWidget> Content = Tab->GetContent();
	if (Content->GetType() != FName(TEXT("STarvolinePanel")))
	{
		return nullptr;
	}
	return StaticCastSharedRef<STarvolinePanel>(Content);
}
} // namespace TarvolineModuleTest

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineModuleRegistrationsTest, "Tarvoline.Module.Registrations",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineModuleRegistrationsTest::RunTest(const FString&)
{
	using namespace TarvolineModuleTest;
	// Choosing the menu rows opens panels, which would sign in with a stored key.
	const TSharedRef<TOptional<FString>> SavedKey = SetAsideStoredKey();
	const bool bWasUp = IsModuleUp();
	if (bWasUp)
	{
		StopModule();
	}
	TestNothingLeft(this, TEXT("before start-up"));

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	// Loaded early in the editor's start-up, the module gets its tab at once but its menu entry only when the tool
	// menus are ready.
	HostToolMenus::BeginEngineStartup();
	StartModule();
	TestTrue(TEXT("tab registered at start-up"), HasSpawner());
	TestNull(TEXT("no Tools entry while the menus are not ready"), FindToolsEntry());
	HostToolMenus::FinishEngineStartup();
#else
	StartModule();
#endif
	TestRegistered(this, TEXT("after start-up"));

	// The tab spawner, as the Window menu and the Tools group show it.
	const IWorkspaceMenuStructure& Structure =
		FModuleManager::LoadModuleChecked<FWorkspaceMenuStructureModule>(TEXT("WorkspaceMenuStructure"))
			.GetWorkspaceMenuStructure();
	for (const TSharedRef<FWorkspaceItem>& Item : Structure.GetToolsCategory()->GetChildItems())
	{
		if (!IsPluginText(Item->GetDisplayName(), TEXT("TabTitle")))
		{
			continue;
		}
		TestEqual(TEXT("tab title"), Item->GetDisplayName().ToString(), FString(TEXT("Tarvoline")));
		TestTrue(TEXT("tab tooltip key"), IsPluginText(Item->GetTooltipText(), TEXT("TabTip")));
		TestEqual(TEXT("tab tooltip"), Item->GetTooltipText().ToString(), FString(SentenceTip));
		TestEqual(TEXT("tab icon style set"), Item->GetIcon().GetStyleSetName().ToString(),
			FAppStyle::GetAppStyleSetName().ToString());
		TestEqual(TEXT("tab icon"), Item->GetIcon().GetStyleName().ToString(), FString(TEXT("ClassIcon.AnimSequence")));
	}

	// The Tools menu's section and entry.
	if (FToolMenuSection* Section = FindToolsSection())
	{
		TestTrue(TEXT("section label key"), IsPluginText(Section->Label.Get(), TEXT("Section")));
		TestEqual(TEXT("section label"), Section->Label.Get().ToString(), FString(TEXT("Tarvoline")));
	}
	if (FToolMenuEntry* Entry = FindToolsEntry())
	{
		TestTrue(TEXT("entry label key"), IsPluginText(Entry->Label.Get(), TEXT("Open")));
		TestEqual(TEXT("entry label"), Entry->Label.Get().ToString(), FString(TEXT("Tarvoline")));
		TestTrue(TEXT("entry tooltip key"), IsPluginText(Entry->ToolTip.Get(), TEXT("OpenTip")));
		TestEqual(TEXT("entry tooltip"), Entry->ToolTip.Get().ToString(), FString(SentenceTip));
		TestEqual(
			TEXT("entry icon"), Entry->Icon.Get().GetStyleName().ToString(), FString(TEXT("ClassIcon.AnimSequence")));
		TestEqual(TEXT("entry icon style set"), Entry->Icon.Get().GetStyleSetName().ToString(),
			FAppStyle::GetAppStyleSetName().ToString());
		TestTrue(TEXT("entry owned by the plug-in"), Entry->Owner == FToolMenuOwner(TEXT("Tarvoline")));
		TestTrue(TEXT("entry is a button"), Entry->UserInterfaceActionType == EUserInterfaceActionType::Button);
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
		// The engine keeps the entry's action private; the stand-in's menus show it to tests.
		TestNotNull(TEXT("entry has an action"), HostToolMenus::GetAction(*Entry).GetUIAction());
#endif
	}

	StopModule();
	TestNothingLeft(this, TEXT("after shut-down"));
	if (bWasUp)
	{
		StartModule();
	}
	RestoreStoredKeyStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineModuleLoadAndUnloadTest, "Tarvoline.Module.LoadAndUnload",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineModuleLoadAndUnloadTest::RunTest(const FString&)
{
	using namespace TarvolineModuleTest;
	const TSharedRef<TOptional<FString>> SavedKey = SetAsideStoredKey();
	const bool bWasUp = IsModuleUp();
	if (bWasUp)
	{
		StopModule();
	}
	// Live coding and plug-in reloads start and stop the module many times in one editor session; each round must
	// leave exactly one of everything, never a second entry or a leftover.
	for (int32 Round = 1; Round <= 3; ++Round)
	{
		StartModule();
		TestRegistered(this, FString::Printf(TEXT("round %d, started"), Round));
		StopModule();
		TestNothingLeft(this, FString::Printf(TEXT("round %d, stopped"), Round));
	}

#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	// At editor exit Slate is gone before the module shuts down: the module must not touch the tab manager then.
	StartModule();
	FSlateApplication::Shutdown();
	StopModule();
	TestTrue(TEXT("the spawner is left alone once Slate is gone"), HasSpawner());
	TestNull(TEXT("the menu entry is still removed"), FindToolsEntry());
	FSlateApplication::Create();
	// What the module left behind: the spawner, and its item in the Tools group, which unregistering leaves.
	FGlobalTabmanager::Get()->UnregisterNomadTabSpawner(PanelTabName);
	const TSharedRef<FWorkspaceItem> ToolsGroup = WorkspaceMenu::GetMenuStructure().GetToolsCategory();
	const TArray<TSharedRef<FWorkspaceItem>> Items = ToolsGroup->GetChildItems();
	for (const TSharedRef<FWorkspaceItem>& Item : Items)
	{
		if (IsPluginText(Item->GetDisplayName(), TEXT("TabTitle")))
		{
			ToolsGroup->RemoveItem(Item);
		}
	}
	TestEqual(TEXT("cleaned up after the Slate-less shut-down"), CountInToolsGroup(), 0);
#endif

	if (bWasUp)
	{
		StartModule();
	}
	RestoreStoredKeyStep(SavedKey);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FTarvolineModuleToolsEntryTest, "Tarvoline.Module.ToolsEntryOpensOneTab",
	EAutomationTestFlags::EditorContext | EAutomationTestFlags::ProductFilter)

bool FTarvolineModuleToolsEntryTest::RunTest(const FString&)
{
	using namespace TarvolineModuleTest;
	const TSharedRef<TOptional<FString>> SavedKey = SetAsideStoredKey();
	if (!IsModuleUp())
	{
		StartModule();
	}
	ClosePanelTabs();

	TestTrue(TEXT("the entry can be chosen"), ChooseToolsEntry());
	TSharedPtr<SDockTab> Tab = FindPanelTab();
	if (!TestTrue(TEXT("a tab opened"), Tab.IsValid()))
	{
		RestoreStoredKeyStep(SavedKey);
		return false;
	}
	TestTrue(TEXT("a nomad tab"), Tab->GetTabRole() == ETabRole::NomadTab);
	TSharedPtr<STarvolinePanel> Panel = PanelIn(Tab);
	if (!TestTrue(TEXT("the tab holds the panel"), Panel.IsValid()))
	{
		ClosePanelTabs();
		RestoreStoredKeyStep(SavedKey);
		return false;
	}
	// Without a stored key the new panel waits for one and sends nothing.
	TestFalse(TEXT("signed out"), Panel->GetAccount().IsSet());
	TestFalse(TEXT("not busy"), Panel->IsBusy());
	TestTrue(TEXT("no status"), Panel->GetStatus().IsEmpty());

	// Choosing it again brings the same tab, with the same panel and its state, to the front.
	TestTrue(TEXT("the entry can be chosen again"), ChooseToolsEntry());
	TestTrue(TEXT("same tab"), FindPanelTab() == Tab);
	TestTrue(TEXT("same panel"), PanelIn(FindPanelTab()) == Panel);
#if defined(WITH_TARVOLINE_HOST) && WITH_TARVOLINE_HOST
	int32 OpenPanelTabs = 0;
	for (const TSharedRef<SDockTab>& Open : HostTabManager::GetOpenTabs())
	{
		OpenPanelTabs += Open->GetLayoutIdentifier() == FTabId(PanelTabName) ? 1 : 0;
	}
	TestEqual(TEXT("one panel tab open"), OpenPanelTabs, 1);
	TestTrue(TEXT("in front"), HostTabManager::GetForegroundTab() == Tab);
#endif

	// Closing the tab ends its panel; the next choice builds a new one.
	const TWeakPtr<STarvolinePanel> FirstPanel = Panel;
	Panel.Reset();
	TestTrue(TEXT("tab closes"), Tab->RequestCloseTab());
	Tab.Reset();
	TestFalse(TEXT("the panel went with its tab"), FirstPanel.IsValid());
	// The new panel reads the settings afresh: with a key stored meanwhile it signs in at once, by itself.
	GConfig->SetString(TEXT("Tarvoline"), TEXT("ApiKey"), DemoKey, GEditorSettingsIni);
	TestTrue(TEXT("chosen after closing"), ChooseToolsEntry());
	const TSharedPtr<STarvolinePanel> SecondPanel = PanelIn(FindPanelTab());
	if (TestTrue(TEXT("a new panel"), SecondPanel.IsValid()))
	{
		TestEqual(TEXT("new panel: stored key read"), SecondPanel->GetApiKey(), FString(DemoKey));
		TestTrue(TEXT("new panel: signing in"), SecondPanel->IsBusy());
		TestEqual(TEXT("new panel: status"), SecondPanel->GetStatus(), FString(TEXT("Connecting...")));
	}

	ClosePanelTabs();
	RestoreStoredKeyStep(SavedKey);
	return true;
}

#endif // WITH_DEV_AUTOMATION_TESTS
