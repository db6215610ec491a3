// Modules linked into the program: made on first load, started once, shut down once, found by name in any case.
#include "ContentBrowserModule.h"
#include "DesktopPlatformModule.h"
#include "Modules/ModuleManager.h"
#include "WorkspaceMenuStructureModule.h"
#include <gtest/gtest.h>

namespace
{
struct FLifeCounts
{
	int32 Made = 0;
	int32 Started = 0;
	int32 ShutDown = 0;
	int32 Destroyed = 0;
};
FLifeCounts Counts;

class FCountingModule : public IModuleInterface
{
public:
	FCountingModule() { ++Counts.Made; }
	virtual ~FCountingModule() override { ++Counts.Destroyed; }
	virtual void StartupModule() override { ++Counts.Started; }
	virtual void ShutdownModule() override { ++Counts.ShutDown; }
};
} // namespace

IMPLEMENT_MODULE(FCountingModule, HostTestCountingModule)

TEST(Modules, ImplementedModuleStartsAndShutsDownOnce)
{
	EXPECT_TRUE(FModuleManager::Get().ModuleExists(TEXT("HostTestCountingModule")));
	EXPECT_FALSE(FModuleManager::Get().IsModuleLoaded("HostTestCountingModule"));
	EXPECT_EQ(Counts.Made, 0);

	FCountingModule& Module = FModuleManager::LoadModuleChecked<FCountingModule>("HostTestCountingModule");
	FCountingModule& Again = FModuleManager::Get().LoadModuleChecked<FCountingModule>("hosttestcountingmodule");
	EXPECT_EQ(&Module, &Again);
	EXPECT_EQ(&Module, &FModuleManager::GetModuleChecked<FCountingModule>("HostTestCountingModule"));
	EXPECT_EQ(Counts.Made, 1);
	EXPECT_EQ(Counts.Started, 1);
	EXPECT_TRUE(Module.SupportsDynamicReloading());
	EXPECT_FALSE(Module.IsGameModule());

	EXPECT_TRUE(FModuleManager::Get().UnloadModule("HostTestCountingModule"));
	EXPECT_EQ(Counts.ShutDown, 1);
	EXPECT_EQ(Counts.Destroyed, 1);
	EXPECT_FALSE(FModuleManager::Get().UnloadModule("HostTestCountingModule"));
	EXPECT_EQ(Counts.ShutDown, 1);

	EXPECT_EQ(FModuleManager::LoadModulePtr<FCountingModule>("NoSuchModule"), nullptr);
}

TEST(Modules, EditorModulesLoadByName)
{
	const IWorkspaceMenuStructure& Structure = WorkspaceMenu::GetMenuStructure();
	EXPECT_EQ(Structure.GetToolsCategory()->GetParent(), Structure.GetToolsStructureRoot().ToSharedPtr());
	EXPECT_EQ(&FModuleManager::Get().LoadModuleChecked<FWorkspaceMenuStructureModule>("WorkspaceMenuStructure").GetWorkspaceMenuStructure(),
		&Structure);

	EXPECT_NE(FDesktopPlatformModule::Get(), nullptr);
	EXPECT_EQ(FDesktopPlatformModule::TryGet(), FDesktopPlatformModule::Get());
	IContentBrowserSingleton& Browser = FModuleManager::LoadModuleChecked<FContentBrowserModule>("ContentBrowser").Get();
	TArray<FAssetData> Selected;
	Browser.GetSelectedAssets(Selected);
	EXPECT_TRUE(Selected.IsEmpty());
}
