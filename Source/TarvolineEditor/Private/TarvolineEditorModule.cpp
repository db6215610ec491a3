// The plug-in's editor module: one nomad tab holding the panel and one Tools menu entry that opens it.

#include "TarvolineEditorModule.h"

#include "Framework/Application/SlateApplication.h"
#include "Framework/Commands/UIAction.h"
#include "Framework/Docking/TabManager.h"
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

	FGlobalTabmanager::Get()
		->RegisterNomadTabSpawner(
			TarvolineTabName, FOnSpawnTab::CreateRaw(this, &FTarvolineEditorModule::SpawnPanelTab))
		.SetDisplayName(LOCTEXT("TabTitle", "Tarvoline"))
		.SetTooltipText(LOCTEXT("TabTip", "Rig and animate a character from a sentence."))
		.SetGroup(MenuStructure.GetToolsCategory())
		.SetIcon(GetTarvolineIcon());

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
	}
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
