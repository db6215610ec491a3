// Stands in for the engine's WorkspaceMenuStructure.h: the groups of the Window and Tools menus that tab spawners
// are put into.
#pragma once

#include "CoreMinimal.h"
#include "Framework/Docking/WorkspaceItem.h"

class IWorkspaceMenuStructure
{
public:
	virtual ~IWorkspaceMenuStructure() = default;

	/** The root of the Window menu's tree. */
	virtual TSharedRef<FWorkspaceItem> GetStructureRoot() const = 0;
	/** The root of the Tools menu's tree; the level editor's Tools menu lists every spawner under it. */
	virtual TSharedRef<FWorkspaceItem> GetToolsStructureRoot() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorViewportsCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorDetailsCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorCinematicsCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorVirtualProductionCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorWorldPartitionCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorModesCategory() const = 0;
	/** The "Tools" group under the Tools root. */
	virtual TSharedRef<FWorkspaceItem> GetToolsCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetDeveloperToolsDebugCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetDeveloperToolsAuditCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetDeveloperToolsLogCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetDeveloperToolsProfilingCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetDeveloperToolsMiscCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetAutomationToolsCategory() const = 0;
	virtual TSharedRef<FWorkspaceItem> GetEditOptions() const = 0;
};
