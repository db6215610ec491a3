// Tool menus and an editor module in the shape of the plug-in's: start-up callbacks, owners, sections and entries,
// choosing entries as a user does, and removal at shutdown.
#include "Framework/Application/SlateApplication.h"
#include "Framework/Docking/TabManager.h"
#include "HostTabManager.h"
#include "HostToolMenus.h"
#include "Modules/ModuleManager.h"
#include "Styling/AppStyle.h"
#include "ToolMenus.h"
#include "UObject/UObjectBase.h"
#include "Widgets/Docking/SDockTab.h"
#include "Widgets/Text/STextBlock.h"
#include "WorkspaceMenuStructureModule.h"
#include <gtest/gtest.h>

#define LOCTEXT_NAMESPACE "MenuTests"

namespace
{
const FName ShapedTabName(TEXT("ShapedTab"));
const FName ToolsMenu(TEXT("LevelEditor.MainMenu.Tools"));

int32 MenuRegistrations = 0;
int32 Spawns = 0;

/** An editor module written the way the plug-in's is. */
class FShapedEditorModule : public IModuleInterface
{
public:
	virtual void StartupModule() override
	{
		FGlobalTabmanager::Get()
			->RegisterNomadTabSpawner(ShapedTabName, FOnSpawnTab::CreateRaw(this, &FShapedEditorModule::SpawnTab))
			.SetDisplayName(LOCTEXT("TabTitle", "Shaped"))
			.SetTooltipText(LOCTEXT("TabTip", "A tab for tests."))
			.SetGroup(FModuleManager::Get()
						  .LoadModuleChecked<FWorkspaceMenuStructureModule>("WorkspaceMenuStructure")
						  .GetWorkspaceMenuStructure()
						  .GetToolsCategory())
			.SetIcon(FSlateIcon(FAppStyle::GetAppStyleSetName(), "ClassIcon.AnimSequence"));
		UToolMenus::RegisterStartupCallback(
			FSimpleMulticastDelegate::FDelegate::CreateRaw(this, &FShapedEditorModule::RegisterMenus));
	}

	virtual void ShutdownModule() override
	{
		if (UObjectInitialized())
		{
			UToolMenus::UnRegisterStartupCallback(this);
			UToolMenus::UnregisterOwner(FToolMenuOwner("Shaped"));
		}
		if (FSlateApplication::IsInitialized())
		{
			FGlobalTabmanager::Get()->UnregisterNomadTabSpawner(ShapedTabName);
		}
	}

	void RegisterMenus()
	{
		++MenuRegistrations;
		FToolMenuOwnerScoped OwnerScoped(FToolMenuOwner("Shaped"));
		UToolMenu* Menu = UToolMenus::Get()->ExtendMenu("LevelEditor.MainMenu.Tools");
		if (!Menu)
		{
			return;
		}
		FToolMenuSection& Section = Menu->FindOrAddSection("Shaped");
		Section.Label = LOCTEXT("Section", "Shaped");
		Section.AddMenuEntry("OpenShaped", LOCTEXT("Open", "Shaped"), LOCTEXT("OpenTip", "Opens the tab."),
			FSlateIcon(FAppStyle::GetAppStyleSetName(), "ClassIcon.AnimSequence"),
			FUIAction(FExecuteAction::CreateRaw(this, &FShapedEditorModule::OpenTab)), EUserInterfaceActionType::Button);
	}

	void OpenTab() { FGlobalTabmanager::Get()->TryInvokeTab(FTabId(ShapedTabName)); }

	TSharedRef<SDockTab> SpawnTab(const FSpawnTabArgs& /*Args*/)
	{
		++Spawns;
		return SNew(SDockTab).TabRole(ETabRole::NomadTab)[SNew(STextBlock).Text(LOCTEXT("Body", "Body"))];
	}
};

/** Each test starts from an editor with menus up and the module not loaded. */
class Menus : public ::testing::Test
{
protected:
	void SetUp() override
	{
		HostToolMenus::Reset();
		MenuRegistrations = 0;
		Spawns = 0;
	}
	void TearDown() override
	{
		FSlateApplication::Create();
		HostTabManager::CloseAllTabs();
		FModuleManager::Get().UnloadModule("HostTestShapedEditor");
		HostToolMenus::Reset();
		// Unregistered spawners leave their items in their groups, as in the engine.
		WorkspaceMenu::GetMenuStructure().GetToolsCategory()->ClearItems();
	}

	static TArray<FName> EntryNames(FName MenuName)
	{
		TArray<FName> Names;
		for (const HostToolMenus::FEntryView& View : HostToolMenus::ListMenu(MenuName))
		{
			Names.Add(View.Name);
		}
		return Names;
	}
};
} // namespace

IMPLEMENT_MODULE(FShapedEditorModule, HostTestShapedEditor)

TEST_F(Menus, StartupCallbackWaitsForEngineStartupAndRunsOnce)
{
	HostToolMenus::BeginEngineStartup();
	FModuleManager::Get().LoadModuleChecked("HostTestShapedEditor");
	EXPECT_EQ(MenuRegistrations, 0);
	EXPECT_TRUE(HostToolMenus::HasWaitingStartupCallbacks());
	EXPECT_EQ(UToolMenus::Get()->FindMenu(ToolsMenu), nullptr);

	HostToolMenus::FinishEngineStartup();
	EXPECT_EQ(MenuRegistrations, 1);
	HostToolMenus::FinishEngineStartup();
	EXPECT_EQ(MenuRegistrations, 1);
	EXPECT_TRUE(EntryNames(ToolsMenu).Contains(FName("OpenShaped")));
}

TEST_F(Menus, StartupCallbackRunsAtOnceWhenMenusAreUpAndNeverWithoutUI)
{
	FModuleManager::Get().LoadModuleChecked("HostTestShapedEditor");
	EXPECT_EQ(MenuRegistrations, 1);
	FModuleManager::Get().UnloadModule("HostTestShapedEditor");

	// As in a commandlet: no menu UI, so the callback never runs.
	HostToolMenus::SetUIEnabled(false);
	HostToolMenus::BeginEngineStartup();
	FModuleManager::Get().LoadModuleChecked("HostTestShapedEditor");
	HostToolMenus::FinishEngineStartup();
	EXPECT_EQ(MenuRegistrations, 1);

	// Unloading takes the waiting callback back.
	FModuleManager::Get().UnloadModule("HostTestShapedEditor");
	EXPECT_FALSE(HostToolMenus::HasWaitingStartupCallbacks());
}

TEST_F(Menus, ChoosingTheEntryOpensOneTab)
{
	FModuleManager::Get().LoadModuleChecked("HostTestShapedEditor");
	const TArray<HostToolMenus::FEntryView> Views = HostToolMenus::ListMenu(ToolsMenu);
	const HostToolMenus::FEntryView* Entry = Views.FindByPredicate([](const HostToolMenus::FEntryView& View) { return View.Name == FName("OpenShaped"); });
	ASSERT_NE(Entry, nullptr);
	EXPECT_EQ(Entry->Label.ToString(), TEXT("Shaped"));
	EXPECT_EQ(Entry->SectionLabel.ToString(), TEXT("Shaped"));
	EXPECT_EQ(Entry->Icon.GetStyleName(), FName("ClassIcon.AnimSequence"));
	EXPECT_EQ(Entry->Owner, FToolMenuOwner("shaped"));

	// The spawner's Tools group puts the tab in the Tools menu by itself as well.
	const HostToolMenus::FEntryView* Spawner = Views.FindByPredicate([](const HostToolMenus::FEntryView& View) { return View.bIsTabSpawner; });
	ASSERT_NE(Spawner, nullptr);
	EXPECT_EQ(Spawner->Name, ShapedTabName);

	EXPECT_TRUE(HostToolMenus::ChooseEntry(ToolsMenu, "OpenShaped"));
	EXPECT_TRUE(HostToolMenus::ChooseEntry(ToolsMenu, "OpenShaped"));
	EXPECT_EQ(Spawns, 1);
	EXPECT_EQ(HostTabManager::GetOpenTabs().Num(), 1);
	EXPECT_TRUE(HostToolMenus::ChooseEntry(ToolsMenu, ShapedTabName));
	EXPECT_EQ(Spawns, 1);
	EXPECT_FALSE(HostToolMenus::ChooseEntry(ToolsMenu, "NoSuchEntry"));
}

TEST_F(Menus, ShutdownRemovesSectionEntryAndSpawner)
{
	FModuleManager::Get().LoadModuleChecked("HostTestShapedEditor");
	// Someone else's entry in the same menu stays.
	{
		FToolMenuOwnerScoped OwnerScoped(FToolMenuOwner("Other"));
		UToolMenus::Get()->ExtendMenu(ToolsMenu)->FindOrAddSection("OtherSection").AddMenuEntry("OtherEntry",
			LOCTEXT("Other", "Other"), FText::GetEmpty(), FSlateIcon(), FExecuteAction::CreateLambda([]() {}));
	}
	FModuleManager::Get().UnloadModule("HostTestShapedEditor");

	UToolMenu* Menu = UToolMenus::Get()->FindMenu(ToolsMenu);
	ASSERT_NE(Menu, nullptr);
	EXPECT_EQ(Menu->FindSection("Shaped"), nullptr);
	EXPECT_EQ(EntryNames(ToolsMenu), TArray<FName>{FName("OtherEntry")});
	EXPECT_FALSE(FGlobalTabmanager::Get()->HasTabSpawner(ShapedTabName));
	EXPECT_FALSE(HostToolMenus::ChooseEntry(ToolsMenu, "OpenShaped"));
}

TEST_F(Menus, ToolsMenuListsRegisteredSpawnersOfTheToolsGroupUnlessHidden)
{
	const TSharedRef<FWorkspaceItem> Tools = WorkspaceMenu::GetMenuStructure().GetToolsCategory();
	const auto CountRows = [](FName Name)
	{
		int32 Count = 0;
		for (const HostToolMenus::FEntryView& View : HostToolMenus::ListMenu(ToolsMenu))
		{
			Count += View.Name == Name ? 1 : 0;
		}
		return Count;
	};
	const auto Register = [Tools](FName Name) -> FTabSpawnerEntry&
	{
		return FGlobalTabmanager::Get()
			->RegisterNomadTabSpawner(Name, FOnSpawnTab::CreateLambda([](const FSpawnTabArgs&) { return SNew(SDockTab); }))
			.SetGroup(Tools);
	};

	Register("Listed");
	EXPECT_EQ(CountRows("Listed"), 1);
	Register("Hidden").SetMenuType(ETabSpawnerMenuType::Hidden);
	EXPECT_EQ(CountRows("Hidden"), 0);
	Register("NotCollected").SetAutoGenerateMenuEntry(false);
	EXPECT_EQ(CountRows("NotCollected"), 0);

	// Unregistering leaves the item in its group, but the menu lists registered spawners only; registering again
	// adds a second item, still shown once.
	FGlobalTabmanager::Get()->UnregisterNomadTabSpawner("Listed");
	EXPECT_EQ(CountRows("Listed"), 0);
	Register("Listed");
	int32 Items = 0;
	for (const TSharedRef<FWorkspaceItem>& Item : Tools->GetChildItems())
	{
		TSharedPtr<FTabSpawnerEntry> Spawner = Item->AsSpawnerEntry();
		Items += Spawner.IsValid() && Spawner->GetTabType() == FName("Listed") ? 1 : 0;
	}
	EXPECT_EQ(Items, 2);
	EXPECT_EQ(CountRows("Listed"), 1);

	for (const FName Name : {FName("Listed"), FName("Hidden"), FName("NotCollected")})
	{
		FGlobalTabmanager::Get()->UnregisterNomadTabSpawner(Name);
	}
	Tools->ClearItems();
}

TEST_F(Menus, ChoosingRowsByPosition)
{
	FModuleManager::Get().LoadModuleChecked("HostTestShapedEditor");
	// The module written like the old plug-in shows its tab twice: the spawner's row and its own entry.
	const TArray<HostToolMenus::FEntryView> Views = HostToolMenus::ListMenu(ToolsMenu);
	ASSERT_EQ(Views.Num(), 2);
	for (int32 Row = 0; Row < Views.Num(); ++Row)
	{
		HostTabManager::CloseAllTabs();
		EXPECT_TRUE(HostToolMenus::ChooseRow(ToolsMenu, Row)) << Row;
		EXPECT_TRUE(FGlobalTabmanager::Get()->FindExistingLiveTab(FTabId(ShapedTabName)).IsValid()) << Row;
	}
	EXPECT_FALSE(HostToolMenus::ChooseRow(ToolsMenu, Views.Num()));
	EXPECT_FALSE(HostToolMenus::ChooseRow(ToolsMenu, -1));
}

TEST_F(Menus, ShutdownAfterSlateIsGoneLeavesTheSpawner)
{
	FModuleManager::Get().LoadModuleChecked("HostTestShapedEditor");
	FSlateApplication::Shutdown();
	FModuleManager::Get().UnloadModule("HostTestShapedEditor");
	EXPECT_TRUE(FGlobalTabmanager::Get()->HasTabSpawner(ShapedTabName));
	FSlateApplication::Create();
	FGlobalTabmanager::Get()->UnregisterNomadTabSpawner(ShapedTabName);
}

TEST_F(Menus, OwnersScopeWhatTheyAdd)
{
	UToolMenus* Menus = UToolMenus::Get();
	EXPECT_FALSE(Menus->CurrentOwner().IsSet());
	EXPECT_EQ(Menus->FindMenu("Some.Menu"), nullptr);
	int32 Runs = 0;
	{
		FToolMenuOwnerScoped Outer(FToolMenuOwner("Outer"));
		FToolMenuSection& Shared = Menus->ExtendMenu("Some.Menu")->AddSection("Shared", LOCTEXT("SharedLabel", "Shared"));
		Shared.AddMenuEntry("A", LOCTEXT("A", "A"), FText::GetEmpty(), FSlateIcon(), FExecuteAction::CreateLambda([&Runs]() { ++Runs; }));
		{
			FToolMenuOwnerScoped Inner(FToolMenuOwner("Inner"));
			EXPECT_EQ(Menus->CurrentOwner(), FToolMenuOwner("Inner"));
			Menus->ExtendMenu("Some.Menu")->FindOrAddSection("Shared").AddMenuEntry("B", LOCTEXT("B", "B"),
				FText::GetEmpty(), FSlateIcon(),
				FUIAction(FExecuteAction::CreateLambda([&Runs]() { Runs += 10; }), FCanExecuteAction::CreateLambda([]() { return false; })));
		}
		EXPECT_EQ(Menus->CurrentOwner(), FToolMenuOwner("Outer"));
	}
	EXPECT_FALSE(Menus->CurrentOwner().IsSet());

	// An entry that cannot execute is listed disabled and does not run.
	const TArray<HostToolMenus::FEntryView> Views = HostToolMenus::ListMenu("Some.Menu");
	ASSERT_EQ(Views.Num(), 2);
	EXPECT_TRUE(Views[0].bEnabled);
	EXPECT_FALSE(Views[1].bEnabled);
	EXPECT_FALSE(HostToolMenus::ChooseEntry("Some.Menu", "B"));
	EXPECT_TRUE(HostToolMenus::ChooseEntry("Some.Menu", "A"));
	EXPECT_EQ(Runs, 1);

	// The outer owner's section still holds the inner owner's entry, so it stays; an unset owner removes nothing.
	UToolMenus::UnregisterOwner(FToolMenuOwner());
	EXPECT_EQ(HostToolMenus::ListMenu("Some.Menu").Num(), 2);
	UToolMenus::UnregisterOwner(FToolMenuOwner("OUTER"));
	ASSERT_NE(Menus->FindMenu("Some.Menu")->FindSection("Shared"), nullptr);
	EXPECT_EQ(EntryNames("Some.Menu"), TArray<FName>{FName("B")});
	Menus->UnregisterOwnerByName("Inner");
	EXPECT_TRUE(EntryNames("Some.Menu").IsEmpty());
	EXPECT_NE(Menus->FindMenu("Some.Menu")->FindSection("Shared"), nullptr);
	UToolMenus::UnregisterOwner(FToolMenuOwner("Outer"));
	EXPECT_EQ(Menus->FindMenu("Some.Menu")->FindSection("Shared"), nullptr);
}

TEST_F(Menus, UnregisteringByObjectKeepsLambdas)
{
	HostToolMenus::BeginEngineStartup();
	int32 LambdaRuns = 0;
	int32 MethodRuns = 0;
	struct FListener
	{
		void Run() { ++*Counter; }
		int32* Counter;
	} Listener{&MethodRuns};
	UToolMenus::RegisterStartupCallback(FSimpleMulticastDelegate::FDelegate::CreateLambda([&LambdaRuns]() { ++LambdaRuns; }));
	UToolMenus::RegisterStartupCallback(FSimpleMulticastDelegate::FDelegate::CreateRaw(&Listener, &FListener::Run));
	UToolMenus::UnRegisterStartupCallback(&Listener);
	HostToolMenus::FinishEngineStartup();
	EXPECT_EQ(LambdaRuns, 1);
	EXPECT_EQ(MethodRuns, 0);
}

#undef LOCTEXT_NAMESPACE
