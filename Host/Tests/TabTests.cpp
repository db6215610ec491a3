// Nomad tabs: spawners, invoking and closing, and the editor loop that paints open tabs each frame.
#include "Containers/Ticker.h"
#include "Framework/Application/SlateApplication.h"
#include "Framework/Docking/TabManager.h"
#include "HostEditorLoop.h"
#include "HostSlateDriver.h"
#include "HostTabManager.h"
#include "Widgets/Docking/SDockTab.h"
#include "Widgets/SCompoundWidget.h"
#include "Widgets/Text/STextBlock.h"
#include <gtest/gtest.h>

namespace
{
/** Content that counts the paints that read it and lives exactly as long as its tab holds it. */
class SCountingContent : public SCompoundWidget
{
public:
	SLATE_BEGIN_ARGS(SCountingContent) {}
	SLATE_END_ARGS()

	void Construct(const FArguments& /*InArgs*/)
	{
		++Alive;
		ChildSlot[SNew(STextBlock).Text(this, &SCountingContent::GetLabel)];
	}
	~SCountingContent() { --Alive; }
	FText GetLabel() const
	{
		++Reads;
		return FText::FromString(TEXT("content"));
	}

	static inline int32 Alive = 0;
	mutable int32 Reads = 0;
};

/** A spawner owned by a test: registers on construction, unregisters and closes its tabs at the end. */
class FTestSpawner
{
public:
	explicit FTestSpawner(FName InTabName)
		: TabName(InTabName)
	{
		FGlobalTabmanager::Get()->RegisterNomadTabSpawner(TabName, FOnSpawnTab::CreateRaw(this, &FTestSpawner::Spawn));
	}
	~FTestSpawner()
	{
		FGlobalTabmanager::Get()->UnregisterNomadTabSpawner(TabName);
		HostTabManager::CloseAllTabs();
	}

	TSharedRef<SDockTab> Spawn(const FSpawnTabArgs& Args)
	{
		++Spawns;
		LastArgsTab = Args.GetTabId().TabType;
		return SNew(SDockTab).TabRole(ETabRole::NomadTab)[SAssignNew(LastContent, SCountingContent)];
	}

	FName TabName;
	int32 Spawns = 0;
	FName LastArgsTab;
	TWeakPtr<SCountingContent> LastContent;
};
} // namespace

TEST(Tabs, InvokeReturnsTheOpenTabAndSpawnsAgainAfterClose)
{
	FTestSpawner Spawner(FName(TEXT("TestTab")));
	EXPECT_TRUE(FGlobalTabmanager::Get()->HasTabSpawner(FName(TEXT("testtab"))));

	TSharedPtr<SDockTab> First = FGlobalTabmanager::Get()->TryInvokeTab(FName(TEXT("TestTab")));
	ASSERT_TRUE(First.IsValid());
	EXPECT_EQ(Spawner.Spawns, 1);
	EXPECT_EQ(Spawner.LastArgsTab, FName(TEXT("TestTab")));
	EXPECT_EQ(First->GetTabRole(), ETabRole::NomadTab);
	EXPECT_TRUE(First->IsForeground());

	// While open: the same tab, brought to the front, and no new content.
	TSharedPtr<SDockTab> Again = FGlobalTabmanager::Get()->TryInvokeTab(FTabId(FName(TEXT("TESTTAB"))));
	EXPECT_EQ(Again, First);
	EXPECT_EQ(Spawner.Spawns, 1);
	EXPECT_EQ(SCountingContent::Alive, 1);

	// The docking area keeps an open tab alive though nobody else holds it.
	First.Reset();
	Again.Reset();
	TSharedPtr<SDockTab> Live = FGlobalTabmanager::Get()->FindExistingLiveTab(FName(TEXT("TestTab")));
	ASSERT_TRUE(Live.IsValid());

	// Closing releases the content; the next invoke spawns a fresh tab.
	EXPECT_TRUE(Live->RequestCloseTab());
	EXPECT_FALSE(Spawner.LastContent.IsValid());
	EXPECT_EQ(SCountingContent::Alive, 0);
	EXPECT_FALSE(FGlobalTabmanager::Get()->FindExistingLiveTab(FName(TEXT("TestTab"))).IsValid());
	TSharedPtr<SDockTab> Second = FGlobalTabmanager::Get()->TryInvokeTab(FName(TEXT("TestTab")));
	ASSERT_TRUE(Second.IsValid());
	EXPECT_NE(Second, Live);
	EXPECT_EQ(Spawner.Spawns, 2);
	EXPECT_FALSE(Live->RequestCloseTab());
}

TEST(Tabs, UnregisteringStopsSpawningButLeavesOpenTabs)
{
	TSharedRef<FWorkspaceItem> Group = FWorkspaceItem::NewGroup(FText::FromString(TEXT("Tools")));
	TSharedPtr<SDockTab> Open;
	{
		FTestSpawner Spawner(FName(TEXT("GoneTab")));
		HostTabManager::FindSpawner(FName(TEXT("GoneTab")))
			->SetDisplayName(FText::FromString(TEXT("Gone")))
			.SetGroup(Group);
		ASSERT_EQ(Group->GetChildItems().Num(), 1);
		Open = FGlobalTabmanager::Get()->TryInvokeTab(FName(TEXT("GoneTab")));
		ASSERT_TRUE(Open.IsValid());
		EXPECT_EQ(Open->GetTabLabel().ToString(), TEXT("Gone"));

		FGlobalTabmanager::Get()->UnregisterNomadTabSpawner(FName(TEXT("GoneTab")));
		EXPECT_FALSE(FGlobalTabmanager::Get()->HasTabSpawner(FName(TEXT("GoneTab"))));
		// As in the engine, the group keeps the spawner's item: only its owner takes it out.
		EXPECT_EQ(Group->GetChildItems().Num(), 1);
		EXPECT_TRUE(Open->HostIsOpen());
		EXPECT_EQ(FGlobalTabmanager::Get()->TryInvokeTab(FName(TEXT("GoneTab"))), Open);
		Open->RequestCloseTab();
	}
	EXPECT_FALSE(FGlobalTabmanager::Get()->TryInvokeTab(FName(TEXT("GoneTab"))).IsValid());
	EXPECT_FALSE(FGlobalTabmanager::Get()->TryInvokeTab(FName(TEXT("NeverRegistered"))).IsValid());
}

TEST(Tabs, CanSpawnAndCanCloseAreAsked)
{
	bool bMaySpawn = false;
	bool bMayClose = false;
	FGlobalTabmanager::Get()->RegisterNomadTabSpawner(FName(TEXT("Guarded")),
		FOnSpawnTab::CreateLambda(
			[&bMayClose](const FSpawnTabArgs&)
			{
				return SNew(SDockTab).OnCanCloseTab_Lambda([&bMayClose]() { return bMayClose; });
			}),
		FCanSpawnTab::CreateLambda([&bMaySpawn](const FSpawnTabArgs&) { return bMaySpawn; }));

	EXPECT_FALSE(FGlobalTabmanager::Get()->TryInvokeTab(FName(TEXT("Guarded"))).IsValid());
	bMaySpawn = true;
	TSharedPtr<SDockTab> Tab = FGlobalTabmanager::Get()->TryInvokeTab(FName(TEXT("Guarded")));
	ASSERT_TRUE(Tab.IsValid());
	EXPECT_FALSE(Tab->RequestCloseTab());
	EXPECT_TRUE(Tab->HostIsOpen());
	bMayClose = true;
	EXPECT_TRUE(Tab->RequestCloseTab());
	FGlobalTabmanager::Get()->UnregisterNomadTabSpawner(FName(TEXT("Guarded")));
}

TEST(Tabs, EditorLoopPaintsOpenTabsAndDilatesTickerTime)
{
	FTestSpawner Spawner(FName(TEXT("Painted")));
	TSharedPtr<SDockTab> Tab = FGlobalTabmanager::Get()->TryInvokeTab(FName(TEXT("Painted")));
	ASSERT_TRUE(Tab.IsValid());
	TSharedPtr<SCountingContent> Content = Spawner.LastContent.Pin();
	ASSERT_TRUE(Content.IsValid());

	HostEditorLoop::RunFrames(3);
	EXPECT_EQ(Content->Reads, 3);

	// The panel inside the tab is reachable from the tab, and drivable.
	FHostSlateDriver Driver(Tab.ToSharedRef());
	EXPECT_EQ(Driver.FindFirst<SCountingContent>(), Content);
	EXPECT_EQ(Driver.GetString(Driver.FindFirst<STextBlock>()), TEXT("content"));

	// A 3-second delay passes in one second's worth of frames at three times the speed.
	bool bFired = false;
	FTSTicker::GetCoreTicker().AddTicker(FTickerDelegate::CreateLambda(
											 [&bFired](float)
											 {
												 bFired = true;
												 return false;
											 }),
		3.0f);
	{
		FHostScopedTimeDilation Faster(3.0f);
		HostEditorLoop::RunFrames(45, 0.02f);
		EXPECT_FALSE(bFired);
		HostEditorLoop::RunFrames(10, 0.02f);
		EXPECT_TRUE(bFired);
	}
	EXPECT_EQ(HostEditorLoop::GetTimeDilation(), 1.0f);

	// A closed tab is no longer painted.
	Tab->RequestCloseTab();
	const int32 ReadsAtClose = Content->Reads;
	HostEditorLoop::RunFrames(2);
	EXPECT_EQ(Content->Reads, ReadsAtClose);
}

TEST(Tabs, SlateShutdownClosesTabsAndCanBeUndone)
{
	FTestSpawner Spawner(FName(TEXT("AtExit")));
	TSharedPtr<SDockTab> Tab = FGlobalTabmanager::Get()->TryInvokeTab(FName(TEXT("AtExit")));
	ASSERT_TRUE(Tab.IsValid());
	EXPECT_TRUE(FSlateApplication::IsInitialized());
	EXPECT_EQ(FSlateApplication::Get().FindBestParentWindowHandleForDialogs(nullptr), nullptr);

	FSlateApplication::Shutdown();
	EXPECT_FALSE(FSlateApplication::IsInitialized());
	EXPECT_FALSE(Tab->HostIsOpen());
	EXPECT_EQ(SCountingContent::Alive, 0);

	FSlateApplication::Create();
	EXPECT_TRUE(FSlateApplication::IsInitialized());
}
