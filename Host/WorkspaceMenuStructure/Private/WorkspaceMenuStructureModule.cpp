// The Window and Tools menu groups, with the engine's names.
#include "WorkspaceMenuStructureModule.h"

#define LOCTEXT_NAMESPACE "UnrealEditor"

namespace
{
class FWorkspaceMenuStructure : public IWorkspaceMenuStructure
{
public:
	FWorkspaceMenuStructure()
		: MenuRoot(FWorkspaceItem::NewGroup(LOCTEXT("WorkspaceMenu_Root", "Window")))
		, ToolsRoot(FWorkspaceItem::NewGroup(LOCTEXT("WorkspaceMenu_ToolsRoot", "Tools")))
		, LevelEditorCategory(MenuRoot->AddGroup(LOCTEXT("WorkspaceMenu_LevelEditorCategory", "Level Editor")))
		, LevelEditorViewportsCategory(LevelEditorCategory->AddGroup(LOCTEXT("WorkspaceMenu_LevelEditorViewportCategory", "Viewports")))
		, LevelEditorDetailsCategory(LevelEditorCategory->AddGroup(LOCTEXT("WorkspaceMenu_LevelEditorDetailCategory", "Details")))
		, LevelEditorCinematicsCategory(LevelEditorCategory->AddGroup(LOCTEXT("WorkspaceMenu_LevelEditorCinematicsCategory", "Cinematics")))
		, LevelEditorVirtualProductionCategory(
			  LevelEditorCategory->AddGroup(LOCTEXT("WorkspaceMenu_LevelEditorVirtualProductionCategory", "Virtual Production")))
		, LevelEditorWorldPartitionCategory(
			  LevelEditorCategory->AddGroup(LOCTEXT("WorkspaceMenu_LevelEditorWorldPartitionCategory", "World Partition")))
		, LevelEditorModesCategory(LevelEditorCategory->AddGroup(LOCTEXT("WorkspaceMenu_LevelEditorModesCategory", "Editor Modes")))
		, ToolsCategory(ToolsRoot->AddGroup(LOCTEXT("WorkspaceMenu_ToolsCategory", "Tools")))
		, DeveloperToolsDebugCategory(ToolsRoot->AddGroup(LOCTEXT("WorkspaceMenu_DeveloperToolsDebugCategory", "Debug")))
		, DeveloperToolsAuditCategory(ToolsRoot->AddGroup(LOCTEXT("WorkspaceMenu_DeveloperToolsAuditCategory", "Audit")))
		, DeveloperToolsLogCategory(ToolsRoot->AddGroup(LOCTEXT("WorkspaceMenu_DeveloperToolsLogCategory", "Log")))
		, DeveloperToolsProfilingCategory(ToolsRoot->AddGroup(LOCTEXT("WorkspaceMenu_DeveloperToolsProfilingCategory", "Profile")))
		, DeveloperToolsMiscCategory(ToolsRoot->AddGroup(LOCTEXT("WorkspaceMenu_DeveloperToolsMiscCategory", "Miscellaneous")))
		, AutomationToolsCategory(ToolsRoot->AddGroup(LOCTEXT("WorkspaceMenu_AutomationToolsCategory", "Automation")))
		, EditOptions(FWorkspaceItem::NewGroup(LOCTEXT("WorkspaceEdit_Options", "Editor Options")))
	{
	}

	virtual TSharedRef<FWorkspaceItem> GetStructureRoot() const override { return MenuRoot; }
	virtual TSharedRef<FWorkspaceItem> GetToolsStructureRoot() const override { return ToolsRoot; }
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorCategory() const override { return LevelEditorCategory; }
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorViewportsCategory() const override { return LevelEditorViewportsCategory; }
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorDetailsCategory() const override { return LevelEditorDetailsCategory; }
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorCinematicsCategory() const override { return LevelEditorCinematicsCategory; }
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorVirtualProductionCategory() const override
	{
		return LevelEditorVirtualProductionCategory;
	}
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorWorldPartitionCategory() const override
	{
		return LevelEditorWorldPartitionCategory;
	}
	virtual TSharedRef<FWorkspaceItem> GetLevelEditorModesCategory() const override { return LevelEditorModesCategory; }
	virtual TSharedRef<FWorkspaceItem> GetToolsCategory() const override { return ToolsCategory; }
	virtual TSharedRef<FWorkspaceItem> GetDeveloperToolsDebugCategory() const override { return DeveloperToolsDebugCategory; }
	virtual TSharedRef<FWorkspaceItem> GetDeveloperToolsAuditCategory() const override { return DeveloperToolsAuditCategory; }
	virtual TSharedRef<FWorkspaceItem> GetDeveloperToolsLogCategory() const override { return DeveloperToolsLogCategory; }
	virtual TSharedRef<FWorkspaceItem> GetDeveloperToolsProfilingCategory() const override
	{
		return DeveloperToolsProfilingCategory;
	}
	virtual TSharedRef<FWorkspaceItem> GetDeveloperToolsMiscCategory() const override { return DeveloperToolsMiscCategory; }
	virtual TSharedRef<FWorkspaceItem> GetAutomationToolsCategory() const override { return AutomationToolsCategory; }
	virtual TSharedRef<FWorkspaceItem> GetEditOptions() const override { return EditOptions; }

	void ResetLevelEditorCategory() { LevelEditorCategory->ClearItems(); }
	void ResetToolsCategory() { ToolsCategory->ClearItems(); }

private:
	TSharedRef<FWorkspaceItem> MenuRoot;
	TSharedRef<FWorkspaceItem> ToolsRoot;
	TSharedRef<FWorkspaceItem> LevelEditorCategory;
	TSharedRef<FWorkspaceItem> LevelEditorViewportsCategory;
	TSharedRef<FWorkspaceItem> LevelEditorDetailsCategory;
	TSharedRef<FWorkspaceItem> LevelEditorCinematicsCategory;
	TSharedRef<FWorkspaceItem> LevelEditorVirtualProductionCategory;
	TSharedRef<FWorkspaceItem> LevelEditorWorldPartitionCategory;
	TSharedRef<FWorkspaceItem> LevelEditorModesCategory;
	TSharedRef<FWorkspaceItem> ToolsCategory;
	TSharedRef<FWorkspaceItem> DeveloperToolsDebugCategory;
	TSharedRef<FWorkspaceItem> DeveloperToolsAuditCategory;
	TSharedRef<FWorkspaceItem> DeveloperToolsLogCategory;
	TSharedRef<FWorkspaceItem> DeveloperToolsProfilingCategory;
	TSharedRef<FWorkspaceItem> DeveloperToolsMiscCategory;
	TSharedRef<FWorkspaceItem> AutomationToolsCategory;
	TSharedRef<FWorkspaceItem> EditOptions;
};
} // namespace

void FWorkspaceMenuStructureModule::StartupModule()
{
	WorkspaceMenuStructure = MakeShared<FWorkspaceMenuStructure>();
}

void FWorkspaceMenuStructureModule::ShutdownModule()
{
	WorkspaceMenuStructure.Reset();
}

const IWorkspaceMenuStructure& FWorkspaceMenuStructureModule::GetWorkspaceMenuStructure() const
{
	check(WorkspaceMenuStructure.IsValid());
	return *WorkspaceMenuStructure;
}

void FWorkspaceMenuStructureModule::ResetLevelEditorCategory()
{
	static_cast<FWorkspaceMenuStructure&>(*WorkspaceMenuStructure).ResetLevelEditorCategory();
}

void FWorkspaceMenuStructureModule::ResetToolsCategory()
{
	static_cast<FWorkspaceMenuStructure&>(*WorkspaceMenuStructure).ResetToolsCategory();
}

#undef LOCTEXT_NAMESPACE
