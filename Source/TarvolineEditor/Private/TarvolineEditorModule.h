// The plug-in's editor module: it registers the panel's tab and its Tools menu entry, and nothing else.

#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"

class FSpawnTabArgs;
class FWorkspaceItem;
class SDockTab;

/** Registers the Tarvoline tab and its Tools menu entry while the module is loaded. */
class FTarvolineEditorModule : public IModuleInterface
{
public:
	virtual void StartupModule() override;
	virtual void ShutdownModule() override;

private:
	/** Adds the Tools menu entry; ToolMenus calls it once its menus are ready. */
	void RegisterMenus();
	/** The menu action: brings the panel's tab to the front, or opens it. */
	void OpenPanelTab();
	/** Makes a new tab holding a new panel. */
	TSharedRef<SDockTab> SpawnPanelTab(const FSpawnTabArgs& Args);

	/**
	 * The tab spawner's item in the workspace's Tools group. Unregistering the spawner leaves it there (the group
	 * holds it), so shut-down takes it out; weak, because the group owns it.
	 */
	TWeakPtr<FWorkspaceItem> SpawnerMenuItem;
};
