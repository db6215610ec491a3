// The plug-in's editor module: one nomad tab holding the panel and one Tools menu entry that opens it.

#include "TarvolineEditorModule.h"

#include "Framework/Application/SlateApplication.h"
#include "Framework/Commands/UIAction.h"
#include "Framework/Docking/TabManager.h"
#include "Framework/Docking/WorkspaceItem.h"
#include "Modules/ModuleManager.h"
#include "STarvolinePanel.h"
#include "Styling/AppStyle.h"
#include "Textures/SlateIcon.h"
#include "ToolMenus.h"
#include "UObject/UObjectBase.h"
#include "Widgets/Docking/SDockTab.h"
#include "WorkspaceMenuStructure.h"
#include "WorkspaceMenuStructureModule.h"

#define LOCTEXT_NAMESPACE "Tarvoline"

namespace
{
/** The tab's identifier: the spawner's key, the menu action's target and the name saved layouts restore. */
const FName TarvolineTabName(TEXT("Tarvoline"));

/** Every menu extension is made under this owner, so that one call removes them all. */
const TCHAR* const MenuOwnerName = TEXT("Tarvoline");

FSlateIcon GetTarvolineIcon()
{
	return FSlateIcon(FAppStyle::GetAppStyleSetName(), "ClassIcon.AnimSequence");
}
} // namespace

void FTarvolineEditorModule::StartupModule()
{
	const IWorkspaceMenuStructure& MenuStructure =
		FModuleManager::LoadModuleChecked<FWorkspaceMenuStructureModule>(TEXT("WorkspaceMenuStructure"))
			.GetWorkspaceMenuStructure();

	// The editor lists the spawners of the Tools group under Tools by itself, beside the explicit "OpenTarvoline"
	// entry, so the spawner is hidden from menus: one Tools row opens the tab, and the registered spawner still lets
	// a saved layout restore it.
	FTabSpawnerEntry& Spawner = FGlobalTabmanager::Get()->RegisterNomadTabSpawner(
		TarvolineTabName, FOnSpawnTab::CreateRaw(this, &FTarvolineEditorModule::SpawnPanelTab));
	Spawner.SetDisplayName(LOCTEXT("TabTitle", "Tarvoline"))
		.SetTooltipText(LOCTEXT("TabTip", "Rig and animate a character from a sentence."))
		.SetGroup(MenuStructure.GetToolsCategory())
		.SetIcon(GetTarvolineIcon())
		.SetMenuType(ETabSpawnerMenuType::Hidden);
	SpawnerMenuItem = Spawner.AsSpawnerEntry();

	UToolMenus::RegisterStartupCallback(
		FSimpleMulticastDelegate::FDelegate::CreateRaw(this, &FTarvolineEditorModule::RegisterMenus));
}

void FTarvolineEditorModule::ShutdownModule()
{
	// At editor exit the object system or Slate may already be gone; then there is nothing left to remove.
	if (UObjectInitialized())
	{
		UToolMenus::UnRegisterStartupCallback(this);
		UToolMenus::UnregisterOwner(FToolMenuOwner(MenuOwnerName));
	}
	if (FSlateApplication::IsInitialized())
	{
		FGlobalTabmanager::Get()->UnregisterNomadTabSpawner(TarvolineTabName);
		// The tab manager forgets the spawner but its group keeps the item; a reload would add a second one.
		const TSharedPtr<FWorkspaceItem> Item = SpawnerMenuItem.Pin();
		const TSharedPtr<FWorkspaceItem> Group = Item.IsValid() ? Item->GetParent() : nullptr;
		if (Group.IsValid())
		{
			Group->RemoveItem(Item.ToSharedRef());
		}
	}
	SpawnerMenuItem.Reset();
}

void FTarvolineEditorModule::RegisterMenus()
{
	const FToolMenuOwner Owner(MenuOwnerName);
	FToolMenuOwnerScoped OwnerScoped(Owner);

	UToolMenu* ToolsMenu = UToolMenus::Get()->ExtendMenu(TEXT("LevelEditor.MainMenu.Tools"));
	if (!ToolsMenu)
	{
		return;
	}
	FToolMenuSection& Section = ToolsMenu->FindOrAddSection(TEXT("Tarvoline"));
	Section.Label = LOCTEXT("Section", "Tarvoline");
	Section.AddMenuEntry(TEXT("OpenTarvoline"), LOCTEXT("Open", "Tarvoline"),
		LOCTEXT("OpenTip", "Rig and animate a character from a sentence."), GetTarvolineIcon(),
		FUIAction(FExecuteAction::CreateRaw(this, &FTarvolineEditorModule::OpenPanelTab)),
		EUserInterfaceActionType::Button);
}

void FTarvolineEditorModule::OpenPanelTab()
{
	FGlobalTabmanager::Get()->TryInvokeTab(FTabId(TarvolineTabName));
}

TSharedRef<SDockTab> FTarvolineEditorModule::SpawnPanelTab(const FSpawnTabArgs& /*Args*/)
{
	// A fresh panel per tab: the workflow state lives exactly as long as its tab.
	return SNew(SDockTab).TabRole(ETabRole::NomadTab)[SNew(STarvolinePanel)];
}

IMPLEMENT_MODULE(FTarvolineEditorModule, TarvolineEditor)

#undef LOCTEXT_NAMESPACE
